// The print options dialog: whether the picture is scaled to the page width and framed, then
// the platform's print dialog and one page with the surface's picture and a footer line.
#pragma once

#include <QDialog>
#include <QPrinter>
#include <functional>
#include <optional>

#include "platform/canvas.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace zeigora {

class TPaintBoxEx;

inline constexpr char PrintJobTitle[] = "Zeigora Printing Job";
inline constexpr char PrintFooter[] = "Erstellt mit Lumtrek Zeigora 3.0";

// Where the picture, its frame and the footer go on the page, in device pixels.
struct TPrintPlacement {
    TRect Picture;  // destination of the stretching copy; Right and Bottom are exclusive
    TRect Frame;    // corners of the frame rectangle
    TPoint Footer;  // top-left corner of the footer text
    int Scale = 1;  // vertical whole-number factor (1 when unscaled)
};

// The page layout for a page of pageWidth x pageHeight and a picture of width x height, with
// integer divisions throughout: scaled, the picture spans 80 % of the page width, stretched
// vertically by a whole number; unscaled, it is copied pixel for pixel; both are centred
// vertically. A picture of width 0 cannot be scaled: "Division durch Null" is shown and there
// is no layout.
std::optional<TPrintPlacement> PlacePrintout(int pageWidth, int pageHeight, int width, int height,
                                             bool scaled, int footerWidth);

class TPrinterConfigForm : public QDialog {
    Q_OBJECT

  public:
    // redraw runs the owner's repaint cycle into the surface now.
    TPrinterConfigForm(TPaintBoxEx& surface, std::function<void()> redraw,
                       QWidget* parent = nullptr);
    ~TPrinterConfigForm() override;

    // The printer the print dialog configures; open so that the output can be redirected.
    QPrinter& Printer() { return Printer_; }

  private:
    void OKButtonClick();
    // Prints one page; false (after an error box) when the printer refused.
    bool PrintPage();

    TPaintBoxEx& Surface_;
    std::function<void()> Redraw_;
    QPrinter Printer_{QPrinter::HighResolution};

    QGroupBox* GroupBox1;
    QLabel* Label3;
    QCheckBox* ScaleCheckBox;
    QCheckBox* BoxCheckBox;
    QPushButton* OKButton;
    QPushButton* CancelButton;
};

}  // namespace zeigora
