#include "dialogs/phasprop.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <cmath>
#include <functional>
#include <string>

#include "dialogs/editfram.h"
#include "dialogs/formwidgets.h"
#include "plane/paintboxex.h"
#include "platform/cp1252.h"
#include "platform/qtcolor.h"
#include "platform/rastercanvas.h"
#include "platform/userdialogs.h"

namespace zeigora {

namespace {

constexpr int ClientWidth = 348;
constexpr int ClientHeight = 431;
constexpr int ListItemHeight = 16;
constexpr int ListItemCount = 4;
constexpr int ShortStringLength = 255;
constexpr char DefinitionHint[] = "Beispiele:\n1+2j\nZeiger1+Zeiger2\ne^(j*pi)+1";

enum class TPenList { Style, Width };

// One item of a pen list, drawn by the surface's list-item painters on a raster canvas.
QImage PenItemImage(TPenList list, TColor color, int index, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    TRasterCanvas canvas(&image);
    const TRect rect{0, 0, size.width(), size.height()};
    if (list == TPenList::Style)
        DrawPenStyleItem(canvas, color, rect, index);
    else
        DrawPenWidthItem(canvas, color, rect, index);
    // The canvas leaves the fourth byte of a pixel undefined; the screen wants it opaque.
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// Draws the items of the opened list; the selection state is not shown.
class TPenItemDelegate : public QStyledItemDelegate {
  public:
    TPenItemDelegate(TPenList list, std::function<TColor()> color, QObject* parent)
        : QStyledItemDelegate(parent), List(list), Color(std::move(color)) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QSize size = option.rect.size();
        if (size.isEmpty()) return;
        painter->drawImage(option.rect.topLeft(), PenItemImage(List, Color(), index.row(), size));
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return {option.rect.width(), ListItemHeight};
    }

  private:
    TPenList List;
    std::function<TColor()> Color;
};

// A drop-down list whose closed box shows the chosen item as the list draws it.
class TPenComboBox : public QComboBox {
  public:
    TPenComboBox(TPenList list, std::function<TColor()> color, QWidget* parent)
        : QComboBox(parent), List(list), Color(color) {
        setItemDelegate(new TPenItemDelegate(list, std::move(color), this));
        for (int i = 0; i < ListItemCount; ++i)
            addItem(QString());
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        option.currentText.clear();
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                    QStyle::SC_ComboBoxEditField, this);
        const int index = currentIndex();
        if (index < 0 || field.isEmpty()) return;
        const QRect item(field.left(), field.center().y() - ListItemHeight / 2, field.width(),
                         ListItemHeight);
        painter.drawImage(item.topLeft(), PenItemImage(List, Color(), index, item.size()));
    }

  private:
    TPenList List;
    std::function<TColor()> Color;
};

// The rectangle that shows the chosen colour; any mouse button on it opens the colour picker.
class TColorShapeBox : public QWidget {
  public:
    TColorShapeBox(std::function<TColor()> color, std::function<void()> mouseDown, QWidget* parent)
        : QWidget(parent), Color(std::move(color)), MouseDown(std::move(mouseDown)) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(Qt::black);
        painter.setBrush(ToQColor(Color()));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    void mousePressEvent(QMouseEvent* event) override {
        event->accept();
        MouseDown();
    }

  private:
    std::function<TColor()> Color;
    std::function<void()> MouseDown;
};

QCheckBox* MakeCheckBox(QWidget* parent, const char* name, const char* text, QRect geometry) {
    auto* box = MakeChild<QCheckBox>(parent, name, geometry, QString::fromLatin1(text));
    box->setChecked(true);
    return box;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* text, QRect geometry) {
    return MakeChild<QPushButton>(parent, name, geometry, QString::fromLatin1(text));
}

// A list index shown for a record field; values outside the list leave nothing selected.
int ListIndex(int value, int count) {
    return value >= 0 && value < count ? value : -1;
}

// The record field for a list: the chosen index, or the old value when nothing is chosen
// (a value from a file that lies outside the list is kept rather than replaced by garbage).
std::uint8_t FieldFromList(const QComboBox* list, int offset, std::uint8_t old) {
    const int index = list->currentIndex();
    return index < 0 ? old : static_cast<std::uint8_t>(index + offset);
}

}  // namespace

TPhasorPropertiesForm::TPhasorPropertiesForm(TPhasorArray& phasors, int phasorIndex, bool rootsMode,
                                             QWidget* parent)
    : QDialog(parent), Phasors(phasors), Index(phasorIndex), Original(ZeroPhasor()) {
    setObjectName(QStringLiteral("PhasorPropertiesForm"));
    setWindowTitle(QStringLiteral("Zeigereigenschaften"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(QFont(QStringLiteral("Verdana"), 8));
    setFixedSize(ClientWidth, ClientHeight);
    if (const TPhasor* p = Edited()) {
        Original = *p;
        HasOriginal = true;
    }
    CreateControls();
    ArrangeTabOrder();
    ConnectEvents();
    FormCreate(rootsMode);
}

TPhasor* TPhasorPropertiesForm::Edited() {
    if (Index < 0 || static_cast<std::size_t>(Index) >= Phasors.size()) return nullptr;
    return &Phasors[static_cast<std::size_t>(Index)];
}

void TPhasorPropertiesForm::CreateControls() {
    GroupBox1 = new QGroupBox(QStringLiteral("Zeigereigenschaften"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(4, 4, 340, 386);
    QGroupBox* box = GroupBox1;
    PhasorVisibleCheckBox =
        MakeCheckBox(box, "PhasorVisibleCheckBox", "Zeiger sichtbar", {10, 20, 200, 17});
    Label1 = MakeLabel(box, "Label1", "Name:", {10, 47, 42, 14});
    PhasorNameEdit = MakeEdit(box, "PhasorNameEdit", {56, 44, 180, 21});
    NameVisibleCheckBox = MakeCheckBox(box, "NameVisibleCheckBox", "Sichtbar", {246, 46, 86, 17});
    Label7 = MakeLabel(box, "Label7", "=", {10, 75, 12, 14});
    DefEdit = MakeEdit(box, "DefEdit", {24, 72, 306, 21});
    DefEdit->setToolTip(FromCp1252(DefinitionHint));
    // The record holds 255 characters; a longer text would show more than is evaluated.
    PhasorNameEdit->setMaxLength(ShortStringLength);
    DefEdit->setMaxLength(ShortStringLength);
    ErrorStatusLabel = MakeLabel(box, "ErrorStatusLabel", "", {10, 97, 320, 14});
    QPalette palette = ErrorStatusLabel->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    ErrorStatusLabel->setPalette(palette);
    ComplexEditorFrame = new TComplexEditorFrame(box);
    ComplexEditorFrame->move(5, 114);
    Label3 = MakeLabel(box, "Label3", "Farbe:", {10, 279, 44, 14});
    PhasorColorShape =
        new TColorShapeBox([this] { return Color; }, [this] { PhasorColorShapeMouseDown(); }, box);
    PhasorColorShape->setObjectName(QStringLiteral("PhasorColorShape"));
    PhasorColorShape->setGeometry(56, 277, 49, 18);
    CreateLists();
    OKButton = MakeButton(this, "OKButton", "OK", {180, 398, 75, 25});
    OKButton->setDefault(true);
    CancelButton = MakeButton(this, "CancelButton", "Abbrechen", {268, 398, 75, 25});
}

void TPhasorPropertiesForm::CreateLists() {
    const auto color = [this] { return Color; };
    Label2 = MakeLabel(GroupBox1, "Label2", "Stil:", {10, 309, 44, 14});
    PhasorStyleComboBox = new TPenComboBox(TPenList::Style, color, GroupBox1);
    PhasorStyleComboBox->setObjectName(QStringLiteral("PhasorStyleComboBox"));
    PhasorStyleComboBox->setGeometry(56, 305, 110, 22);
    Label4 = MakeLabel(GroupBox1, "Label4", "Skala:", {186, 309, 44, 14});
    PhasorScaleComboBox = new QComboBox(GroupBox1);
    PhasorScaleComboBox->setObjectName(QStringLiteral("PhasorScaleComboBox"));
    PhasorScaleComboBox->addItems({QStringLiteral("1"), QStringLiteral("2")});
    PhasorScaleComboBox->setGeometry(232, 305, 60, 22);
    Label5 = MakeLabel(GroupBox1, "Label5", "Dicke:", {10, 341, 44, 14});
    PhasorWidthComboBox = new TPenComboBox(TPenList::Width, color, GroupBox1);
    PhasorWidthComboBox->setObjectName(QStringLiteral("PhasorWidthComboBox"));
    PhasorWidthComboBox->setGeometry(56, 337, 110, 22);
}

void TPhasorPropertiesForm::ArrangeTabOrder() {
    QWidget* const order[] = {PhasorVisibleCheckBox, PhasorNameEdit, NameVisibleCheckBox, DefEdit,
                              ComplexEditorFrame->RealEdit};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
    QWidget* const after[] = {ComplexEditorFrame->Grad,
                              PhasorStyleComboBox,
                              PhasorScaleComboBox,
                              PhasorWidthComboBox,
                              OKButton,
                              CancelButton};
    for (std::size_t i = 0; i + 1 < std::size(after); ++i)
        setTabOrder(after[i], after[i + 1]);
}

void TPhasorPropertiesForm::ConnectEvents() {
    // textChanged, not textEdited: the definition written while the dialog is created must run
    // the check as well.
    connect(DefEdit, &QLineEdit::textChanged, this, [this] { DefEditChange(); });
    connect(OKButton, &QPushButton::clicked, this, [this] { OKButtonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { reject(); });
}

void TPhasorPropertiesForm::FormCreate(bool rootsMode) {
    if (rootsMode) PhasorScaleComboBox->setEnabled(false);
    ComplexEditorFrame->InitValue();
    const TPhasor* p = Edited();
    if (p == nullptr) return;
    const TPhasor record = *p;  // the check below may touch the list
    PhasorNameEdit->setText(FromCp1252(record.Name.View()));
    NameVisibleCheckBox->setChecked(record.NameVisible != 0);
    if (record.Definition.Empty()) ComplexEditorFrame->SetValue(record.Value);
    SetShapeColor(record.Color);
    PhasorStyleComboBox->setCurrentIndex(ListIndex(record.Style, ListItemCount));
    PhasorWidthComboBox->setCurrentIndex(ListIndex(int(record.Width) - 1, ListItemCount));
    PhasorScaleComboBox->setCurrentIndex(ListIndex(record.Scale, PhasorScaleComboBox->count()));
    PhasorVisibleCheckBox->setChecked(record.Visible != 0);
    DefEdit->setText(FromCp1252(record.Definition.View()));
    if (const TPhasor* q = Edited(); q != nullptr && q->ErrorCode != 0)
        ErrorStatusLabel->setText(FromCp1252(q->ErrorText.View()));
}

// After the dialog's own focus handling on showing, which would select the whole definition
// and so lose the caret placed at an error.
void TPhasorPropertiesForm::setVisible(bool visible) {
    const bool first = visible && !Shown;
    if (first) {
        Shown = true;
        if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
    }
    QDialog::setVisible(visible);
    if (first) FormShow();
}

void TPhasorPropertiesForm::FormShow() {
    const TPhasor* p = Edited();
    const std::int32_t code = p != nullptr ? p->ErrorCode : 0;
    if (code == 0) {
        PhasorVisibleCheckBox->setFocus();
    } else if (code == ErrInvalidName) {
        PhasorNameEdit->setFocus();
    } else {
        DefEdit->setFocus();
        // Just before the character where the parser stopped; a negative code has no position.
        const int length = int(DefEdit->text().size());
        DefEdit->setCursorPosition(code > 0 ? (code < length ? code : length) : 0);
    }
}

void TPhasorPropertiesForm::DefEditChange() {
    const std::string text = ToCp1252(DefEdit->text());
    ComplexEditorFrame->SetReadOnly(!text.empty());
    TPhasor* p = Edited();
    if (p == nullptr) return;
    const TShortString kept = p->Definition;
    p->Definition = text;
    const TRecalcResult result = RecalculateAll(Phasors);
    p = Edited();
    if (p == nullptr) return;
    if (p->ErrorCode != 0) {
        ErrorStatusLabel->setText(FromCp1252(p->ErrorText.View()));
    } else {
        ErrorStatusLabel->clear();
        if (!std::isnan(p->Value.Re)) ComplexEditorFrame->SetValue(p->Value);
    }
    p->Definition = kept;
    if (OnRecalculated) OnRecalculated(result);
}

void TPhasorPropertiesForm::OKButtonClick() {
    if (TPhasor* p = Edited()) {
        p->Name = ToCp1252(PhasorNameEdit->text());
        p->NameVisible = NameVisibleCheckBox->isChecked() ? 1 : 0;
        p->Value = ComplexEditorFrame->GetValue();
        p->Color = Color;
        p->Style = FieldFromList(PhasorStyleComboBox, 0, p->Style);
        p->Width = FieldFromList(PhasorWidthComboBox, 1, p->Width);
        p->Scale = FieldFromList(PhasorScaleComboBox, 0, p->Scale);
        p->Visible = PhasorVisibleCheckBox->isChecked() ? 1 : 0;
        p->Definition = ToCp1252(DefEdit->text());
    }
    accept();
}

// Cancel, Escape and the close box. The live check may have left a value computed from the
// typed text in the record (NaN after a syntax error), which a constant phasor would keep.
void TPhasorPropertiesForm::reject() {
    TPhasor* p = Edited();
    if (p != nullptr && HasOriginal) *p = Original;
    QDialog::reject();
}

void TPhasorPropertiesForm::PhasorColorShapeMouseDown() {
    if (const auto chosen = UserDialogs().PickColor(Color)) SetShapeColor(*chosen);
    // The previews of both lists are drawn in the shape's colour.
    for (QComboBox* list : {PhasorStyleComboBox, PhasorWidthComboBox}) {
        list->update();
        list->view()->viewport()->update();
    }
}

void TPhasorPropertiesForm::SetShapeColor(TColor color) {
    Color = color;
    PhasorColorShape->update();
}

}  // namespace zeigora
