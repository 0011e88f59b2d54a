#include "mainwindow/statuspanels.h"

#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <numeric>

namespace zeigora {

namespace {

constexpr int Pad = 2;  // inner margin left and right of a panel's text

}  // namespace

QSize TStatusPanel::minimumSizeHint() const {
    return {0, QLabel::minimumSizeHint().height()};
}

int TStatusPanel::NeededWidth() const {
    return fontMetrics().horizontalAdvance(text()) + 2 * Pad;
}

void TStatusPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = contentsRect().adjusted(Pad, 0, -Pad, 0);
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, area.width());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, shown);
}

TStatusPanels::TStatusPanels(const std::vector<int>& widths, QWidget* parent)
    : QWidget(parent), Widths(widths) {
    for (std::size_t i = 0; i < widths.size(); ++i)
        Panels.push_back(new TStatusPanel(this));
}

QSize TStatusPanels::sizeHint() const {
    const int height = Panels.empty() ? 0 : Panels.front()->sizeHint().height();
    return {std::accumulate(Widths.begin(), Widths.end(), 0), height};
}

QSize TStatusPanels::minimumSizeHint() const {
    return {0, sizeHint().height()};
}

void TStatusPanels::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Arrange();
}

void TStatusPanels::Arrange() {
    if (Panels.empty()) return;
    const std::size_t last = Panels.size() - 1;
    std::vector<int> widths(Panels.size());
    for (std::size_t i = 0; i < last; ++i)
        widths[i] = std::max(Widths[i], Panels[i]->NeededWidth());
    // The last panel's text may borrow what the others' texts leave free, from the right.
    const int fixed = std::accumulate(widths.begin(), widths.end() - 1, 0);
    int missing = Panels[last]->NeededWidth() - std::max(Widths[last], width() - fixed);
    for (std::size_t i = last; missing > 0 && i-- > 0;) {
        const int spare = std::max(0, widths[i] - Panels[i]->NeededWidth());
        const int taken = std::min(spare, missing);
        widths[i] -= taken;
        missing -= taken;
    }
    int x = 0;
    for (std::size_t i = 0; i < Panels.size(); ++i) {
        const int w = i == last ? width() - x : std::min(widths[i], width() - x);
        Panels[i]->setGeometry(x, 0, std::max(0, w), height());
        x += std::max(0, w);
    }
}

}  // namespace zeigora
