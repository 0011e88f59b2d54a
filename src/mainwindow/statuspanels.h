// The panels of the main window's status bar: side by side with their classic widths, never
// drawn over one another. The last panel takes the rest of the bar; when its text needs more,
// the others give up the room their texts leave free, and a text that still does not fit is
// shortened with an ellipsis.
#pragma once

#include <QLabel>
#include <QWidget>
#include <vector>

namespace zeigora {

// A status text that is elided to the panel's width instead of being cut or spilling over.
class TStatusPanel : public QLabel {
    Q_OBJECT

  public:
    using QLabel::QLabel;
    QSize minimumSizeHint() const override;
    // The width the whole text needs, with the panel's inner margins.
    int NeededWidth() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

class TStatusPanels : public QWidget {
    Q_OBJECT

  public:
    // One panel per width; the last one's width is its least.
    TStatusPanels(const std::vector<int>& widths, QWidget* parent = nullptr);

    TStatusPanel* Panel(int index) const { return Panels[static_cast<std::size_t>(index)]; }
    int Count() const { return static_cast<int>(Panels.size()); }
    // Places the panels for the present width and texts.
    void Arrange();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    std::vector<int> Widths;
    std::vector<TStatusPanel*> Panels;
};

}  // namespace zeigora
