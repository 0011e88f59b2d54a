#include "mainwindow/phasorcombo.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QSignalBlocker>
#include <QStylePainter>
#include <QStyledItemDelegate>

#include "platform/cp1252.h"
#include "platform/qtcolor.h"

namespace zeigora {

namespace {

constexpr int ItemHeight = 16;
constexpr int ColorRole = Qt::UserRole + 1;

// An item: its rectangle white, the text 2 pixels in from the left in the item's colour; the
// current item keeps a thin frame so the keyboard position stays visible.
class TPhasorItemDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        painter->save();
        painter->fillRect(option.rect, Qt::white);
        const std::uint32_t color = index.data(ColorRole).toUInt();
        painter->setPen(ToQColor(color));
        painter->setFont(option.font);
        const QRect textRect = option.rect.adjusted(2, 0, 0, 0);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                          index.data(Qt::DisplayRole).toString());
        if (option.state & QStyle::State_Selected) {
            painter->setPen(QColor(0x30, 0x60, 0xC0));
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        }
        painter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(ItemHeight);
        return size;
    }
};

}  // namespace

TPhasorComboBox::TPhasorComboBox(QWidget* parent) : QComboBox(parent) {
    setItemDelegate(new TPhasorItemDelegate(this));
}

void TPhasorComboBox::Fill(const TPhasorArray& phasors, const std::string& firstCaption) {
    const QSignalBlocker blocker(this);
    clear();
    addItem(FromCp1252(firstCaption), QVariant());
    setItemData(0, 0u, ColorRole);
    for (const TPhasor& p : phasors) {
        addItem(FromCp1252(p.Name.View()));
        setItemData(count() - 1, static_cast<uint>(p.Color & 0xFFFFFF), ColorRole);
    }
    setCurrentIndex(0);
}

std::uint32_t TPhasorComboBox::ItemColor(int index) const {
    return itemData(index, ColorRole).toUInt();
}

void TPhasorComboBox::SetItemIndex(int index) {
    const QSignalBlocker blocker(this);
    setCurrentIndex(index);
}

void TPhasorComboBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    painter.fillRect(field, Qt::white);
    painter.setPen(ToQColor(ItemColor(currentIndex())));
    painter.drawText(field.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, currentText());
}

}  // namespace zeigora
