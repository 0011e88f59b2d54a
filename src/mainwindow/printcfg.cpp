#include "mainwindow/printcfg.h"

#include <QCheckBox>
#include <QFont>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <utility>

#include "dialogs/application.h"
#include "plane/paintboxex.h"
#include "platform/cp1252.h"
#include "platform/userdialogs.h"

namespace zeigora {

namespace {

constexpr int FormWidth = 251;
constexpr int FormHeight = 92;
constexpr char CannotStartText[] = "Der Druckauftrag konnte nicht gestartet werden.";
constexpr char PrintFailedText[] = "Beim Drucken ist ein Fehler aufgetreten.";

template <class TWidget>
TWidget* MakeControl(QWidget* parent, const char* name, const char* text, QRect geometry) {
    auto* control = new TWidget(FromCp1252(text), parent);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(geometry);
    return control;
}

QRect ToQRect(const TRect& r) {
    return QRect(QPoint(r.Left, r.Top), QPoint(r.Right - 1, r.Bottom - 1));
}

}  // namespace

std::optional<TPrintPlacement> PlacePrintout(int pageWidth, int pageHeight, int width, int height,
                                             bool scaled, int footerWidth) {
    TPrintPlacement p;
    if (scaled) {
        const std::optional<int> times = CheckedIntDiv(pageWidth, width);
        if (!times) return std::nullopt;
        const int s = *times * 8 / 10;
        const int left = pageWidth / 10, top = pageHeight / 2 - height * s / 2;
        p.Scale = s;
        p.Picture = {left, top, left + pageWidth * 8 / 10, top + height * s};
        p.Frame = {left, top, pageWidth * 9 / 10, pageHeight / 2 + height * s / 2};
        p.Footer = {pageWidth * 9 / 10 - footerWidth, p.Frame.Bottom + 5};
    } else {
        const int left = pageWidth / 2 - width / 2, top = pageHeight / 2 - height / 2;
        p.Picture = {left, top, left + width, top + height};
        p.Frame = {left, top, pageWidth / 2 + width / 2, pageHeight / 2 + height / 2};
        p.Footer = {pageWidth / 2 - footerWidth / 2, p.Frame.Bottom + 5};
    }
    return p;
}

TPrinterConfigForm::TPrinterConfigForm(TPaintBoxEx& surface, std::function<void()> redraw,
                                       QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      Surface_(surface),
      Redraw_(std::move(redraw)) {
    setObjectName(QStringLiteral("PrinterConfigForm"));
    setWindowTitle(QStringLiteral("Drucken"));
    setFont(QFont(QStringLiteral("Verdana"), 8));
    setFixedSize(FormWidth, FormHeight);

    GroupBox1 =
        MakeControl<QGroupBox>(this, "GroupBox1", "Druckereinstellungen", QRect(8, 4, 235, 49));
    Label3 = MakeControl<QLabel>(GroupBox1, "Label3", "Optionen:", QRect(10, 22, 64, 17));
    ScaleCheckBox =
        MakeControl<QCheckBox>(GroupBox1, "ScaleCheckBox", "Skalieren", QRect(78, 22, 80, 17));
    BoxCheckBox =
        MakeControl<QCheckBox>(GroupBox1, "BoxCheckBox", "Rahmen", QRect(160, 22, 70, 17));
    ScaleCheckBox->setChecked(true);
    BoxCheckBox->setChecked(true);
    OKButton = MakeControl<QPushButton>(this, "OKButton", "OK", QRect(88, 60, 75, 25));
    CancelButton =
        MakeControl<QPushButton>(this, "CancelButton", "Abbrechen", QRect(168, 60, 75, 25));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, [this] { OKButtonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

TPrinterConfigForm::~TPrinterConfigForm() = default;

void TPrinterConfigForm::OKButtonClick() {
    if (!UserDialogs().PrintDialog(Printer_)) return;  // the options stay open
    if (PrintPage())
        accept();
    else if (isHidden())
        reject();  // failed after it was hidden: a hidden modal dialog would block the program
}

bool TPrinterConfigForm::PrintPage() {
    const QFont font = QGuiApplication::font();
    const QString footer = FromCp1252(PrintFooter);
    const int footerWidth = QFontMetrics(font, &Printer_).horizontalAdvance(footer);
    const int width = Surface_.Width(), height = Surface_.Height();
    // Before the job starts: a picture that cannot be placed ends the command with its error.
    const std::optional<TPrintPlacement> placed =
        PlacePrintout(Printer_.width(), Printer_.height(), width, height,
                      ScaleCheckBox->isChecked(), footerWidth);
    if (!placed) return false;
    const TPrintPlacement& place = *placed;

    Printer_.setDocName(FromCp1252(PrintJobTitle));
    QPainter painter;
    if (!painter.begin(&Printer_)) {
        UserDialogs().ShowError(CannotStartText);
        return false;
    }
    hide();
    if (Redraw_) Redraw_();
    // Byte 3 of the bitmap is no alpha: the page gets a plain 24-bit copy.
    const QImage picture = Surface_.Bitmap.convertToFormat(QImage::Format_RGB888);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // The pixels go to the page unchanged: a PDF or print file would otherwise store them as
    // JPEG, with artefacts around every line and digit.
    painter.setRenderHint(QPainter::LosslessImageRendering, true);
    painter.drawImage(ToQRect(place.Picture), picture, QRect(0, 0, width, height));

    painter.setBrush(Qt::NoBrush);
    // The thinnest line the device draws: one pixel of a printer, and in a PDF a line that no
    // viewer drops at any zoom.
    painter.setPen(QPen(Qt::black, 0));
    // A stroked QRect covers one pixel more than its size; the frame's far corner is exclusive.
    const TRect& f = place.Frame;
    if (BoxCheckBox->isChecked())
        painter.drawRect(QRect(f.Left, f.Top, f.Right - f.Left - 1, f.Bottom - f.Top - 1));
    painter.setFont(font);
    painter.drawText(QPoint(place.Footer.X, place.Footer.Y + painter.fontMetrics().ascent()),
                     footer);
    const bool ended = painter.end();
    if (!ended || Printer_.printerState() == QPrinter::Error) {
        UserDialogs().ShowError(PrintFailedText);
        return false;
    }
    return true;
}

}  // namespace zeigora
