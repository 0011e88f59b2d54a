#include "dialogs/gridsets.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cmath>
#include <string>

#include "complex/cp1252text.h"
#include "dialogs/formwidgets.h"
#include "plane/paintboxex.h"
#include "platform/cp1252.h"
#include "platform/qtcolor.h"
#include "platform/rastercanvas.h"
#include "platform/userdialogs.h"

namespace zeigora {

namespace {

constexpr int ClientWidth = 308;
constexpr int ClientHeight = 374;
constexpr int GroupLeft = 8;
constexpr int GroupWidth = 292;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clGray = 0x808080;
constexpr int StyleCount = 4;  // the dialogs offer solid, dash, dot and dash-dot
constexpr int StyleItemHeight = 16;
constexpr int MinMargin = 1;
constexpr int MaxMargin = 49;
constexpr int DefaultMargin = 10;
// Typed spin values stay within this; a tick length plus a distance of this size still fits
// an int many times over.
constexpr int SpinGuard = 999999;
constexpr int ShortStringLength = 255;

QGroupBox* MakeGroup(QWidget* parent, const std::string& caption, int top, int height) {
    auto* group = new QGroupBox(FromCp1252(caption), parent);
    group->setGeometry(GroupLeft, top, GroupWidth, height);
    return group;
}

TColorShape* MakeShape(QWidget* parent, const char* name, TColor color, QRect geometry) {
    auto* shape = MakeChild<TColorShape>(parent, name, geometry);
    shape->SetBrushColor(color);
    return shape;
}

TOwnerDrawComboBox* MakeStyleList(QWidget* parent, const char* name, QRect geometry) {
    return MakeChild<TOwnerDrawComboBox>(parent, name, geometry, StyleCount, StyleItemHeight);
}

TSpinEdit* MakeSpinEdit(QWidget* parent, const char* name, QRect geometry) {
    return MakeChild<TSpinEdit>(parent, name, geometry);
}

QCheckBox* MakeCheckBox(QWidget* parent, const char* name, const std::string& text,
                        QRect geometry) {
    return MakeChild<QCheckBox>(parent, name, geometry, FromCp1252(text));
}

QLineEdit* MakeShortEdit(QWidget* parent, const char* name, QRect geometry) {
    QLineEdit* edit = MakeEdit(parent, name, geometry);
    edit->setMaxLength(ShortStringLength);
    return edit;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* text, QRect geometry) {
    return MakeChild<QPushButton>(parent, name, geometry, QString::fromLatin1(text));
}

// The "Farbe:" shape and "Stil:" list that open the grid, sub-grid and axis groups.
void MakeColorStyleRow(QGroupBox* group, const std::string& prefix, TColor color,
                       TColorShape*& shape, TOwnerDrawComboBox*& list) {
    MakeLabel(group, nullptr, "Farbe:", QRect(10, 26, 45, 16));
    shape = MakeShape(group, (prefix + "ColorShape").c_str(), color, QRect(58, 22, 41, 23));
    MakeLabel(group, nullptr, "Stil:", QRect(116, 26, 30, 16));
    list = MakeStyleList(group, (prefix + "StyleComboBox").c_str(), QRect(150, 22, 132, 23));
}

// The list items are drawn by the list's owner, selected or not, like the classic owner-drawn
// lists; the selection shows as a frame around the sample.
class TOwnerDrawDelegate : public QStyledItemDelegate {
  public:
    explicit TOwnerDrawDelegate(TOwnerDrawComboBox* list) : QStyledItemDelegate(list), List(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        List->PaintItem(*painter, option.rect, index.row());
        if (option.state & QStyle::State_Selected) {
            painter->setPen(option.palette.color(QPalette::Highlight));
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        }
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return QSize(option.rect.width(), List->ItemHeight());
    }

  private:
    TOwnerDrawComboBox* List;
};

}  // namespace

// ---- TColorShape ----

TColorShape::TColorShape(QWidget* parent) : QWidget(parent) {}

void TColorShape::SetBrushColor(TColor color) {
    Color = color & 0xFFFFFF;
    update();
}

void TColorShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.setBrush(ToQColor(Color));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TColorShape::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (OnMouseDown) OnMouseDown(this);
}

// ---- TOwnerDrawComboBox ----

TOwnerDrawComboBox::TOwnerDrawComboBox(int itemCount, int itemHeight, QWidget* parent)
    : QComboBox(parent), ItemHeight_(itemHeight) {
    for (int i = 0; i < itemCount; ++i)
        addItem(QString());
    setItemDelegate(new TOwnerDrawDelegate(this));
}

void TOwnerDrawComboBox::PaintItem(QPainter& painter, const QRect& target, int index) const {
    if (!DrawItem || target.width() <= 0 || target.height() <= 0) return;
    QImage image(target.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    TRasterCanvas canvas(&image);
    DrawItem(canvas, TRect{0, 0, target.width(), target.height()}, index);
    // The canvas leaves byte 3 of its pixels 0, which a painter on a translucent surface would
    // take as alpha.
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            row[x] |= 0xFF000000u;
    }
    painter.drawImage(target.topLeft(), image);
}

void TOwnerDrawComboBox::Repaint() {
    update();
    view()->viewport()->update();
}

void TOwnerDrawComboBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    if (currentIndex() < 0) return;
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    PaintItem(painter, field, currentIndex());
}

// ---- TSpinEdit ----

TSpinEdit::TSpinEdit(QWidget* parent) : QSpinBox(parent) {
    setRange(-SpinGuard, SpinGuard);
}

void TSpinEdit::SetButtonLimits(int minimum, int maximum) {
    Limited = true;
    ButtonMin = minimum;
    ButtonMax = maximum;
}

void TSpinEdit::stepBy(int steps) {
    if (!Limited) {
        QSpinBox::stepBy(steps);
        return;
    }
    const long long target = static_cast<long long>(value()) + steps;
    setValue(static_cast<int>(std::clamp<long long>(target, ButtonMin, ButtonMax)));
    selectAll();
}

QAbstractSpinBox::StepEnabled TSpinEdit::stepEnabled() const {
    if (!Limited) return QSpinBox::stepEnabled();
    StepEnabled enabled = StepNone;
    if (value() < ButtonMax) enabled |= StepUpEnabled;
    if (value() > ButtonMin) enabled |= StepDownEnabled;
    return enabled;
}

void TSpinEdit::fixup(QString& input) const {
    input = QString::number(Limited ? ButtonMin : 0);
}

// ---- margin ----

int MarginPercent(double marginFactor) {
    const double percent = (100.0 - 100.0 / marginFactor) / 2.0;
    if (std::isnan(percent)) return DefaultMargin;
    return static_cast<int>(
        RoundHalfEven(std::clamp(percent, double(MinMargin), double(MaxMargin))));
}

double MarginFactorOf(int percent) {
    const int p = std::clamp(percent, MinMargin, MaxMargin);
    return 100.0 / (100.0 - 2.0 * p);
}

// ---- TGridSettingsForm ----

TGridSettingsForm::TGridSettingsForm(TPlaneSettings& settings, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      Settings(settings),
      ColorDialog1Color(clGray) {
    setObjectName(QStringLiteral("GridSettingsForm"));
    setWindowTitle(QStringLiteral("Raster- und Achseneinstellungen"));
    setFont(QFont(QStringLiteral("Verdana"), 8));
    setFixedSize(ClientWidth, ClientHeight);
    CreateControls();
    ConnectEvents();
    FormCreate();
    CenterOnScreen();
}

void TGridSettingsForm::CreateControls() {
    CreateGridGroup();
    CreateSubGridGroup();
    CreateAxisGroup();
    CreateOtherGroup();
    CreateButtons();
}

void TGridSettingsForm::CreateGridGroup() {
    MakeColorStyleRow(MakeGroup(this, "Raster", 2, 57), "Grid", clSilver, GridColorShape,
                      GridStyleComboBox);
}

void TGridSettingsForm::CreateSubGridGroup() {
    MakeColorStyleRow(MakeGroup(this, "Hilfsraster", 60, 57), "SubGrid", clSilver,
                      SubGridColorShape, SubGridStyleComboBox);
}

void TGridSettingsForm::CreateAxisGroup() {
    QGroupBox* group = MakeGroup(this, "Achsen", 118, 167);
    MakeColorStyleRow(group, "Axis", clBlack, AxisColorShape, AxisStyleComboBox);
    // Rows of 24 pixels below the colour row; the spin and name edits are wide enough for six
    // digits and for an axis name such as "Imaginär", and the last row ends clear of the frame.
    ShowNumbersCheckBox =
        MakeCheckBox(group, "ShowNumbersCheckBox", "Werte anzeigen", QRect(10, 50, 130, 18));
    AutoValuesCheckBox =
        MakeCheckBox(group, "AutoValuesCheckBox", "Auto-Werte", QRect(10, 70, 130, 18));
    Label6 = MakeLabel(group, "Label6", "Nachkommast.:", QRect(10, 94, 110, 16));
    AccuracySpinEdit = MakeSpinEdit(group, "AccuracySpinEdit", QRect(124, 90, 72, 23));
    AccuracySpinEdit->SetButtonLimits(0, 8);
    Label7 = MakeLabel(group, "Label7", "Abstand v. Achse:", QRect(10, 118, 112, 16));
    SafetySpaceSpinEdit = MakeSpinEdit(group, "SafetySpaceSpinEdit", QRect(124, 114, 72, 23));
    MakeLabel(group, nullptr, "Achsennamen:", QRect(10, 142, 110, 16));
    ReLabelEdit = MakeShortEdit(group, "ReLabelEdit", QRect(124, 139, 76, 21));
    ImLabelEdit = MakeShortEdit(group, "ImLabelEdit", QRect(206, 139, 76, 21));
    MakeLabel(group, nullptr, "Strichlänge:"_cp, QRect(206, 50, 80, 16));
    MarkLengthTrackBar = new QSlider(Qt::Vertical, group);
    MarkLengthTrackBar->setObjectName(QStringLiteral("MarkLengthTrackBar"));
    MarkLengthTrackBar->setRange(0, 10);
    MarkLengthTrackBar->setPageStep(1);
    MarkLengthTrackBar->setTickPosition(QSlider::TicksRight);
    MarkLengthTrackBar->setGeometry(212, 68, 30, 66);
    MarkLengthLabel = MakeLabel(group, "MarkLengthLabel", "5px", QRect(246, 93, 40, 16));
}

void TGridSettingsForm::CreateOtherGroup() {
    QGroupBox* group = MakeGroup(this, "Sonstiges", 286, 56);
    MakeLabel(group, nullptr, "Füllung:"_cp, QRect(10, 26, 50, 16));
    BackGroundColorShape = MakeShape(group, "BackGroundColorShape", clWhite, QRect(62, 22, 41, 23));
    MakeLabel(group, nullptr, "Rand:", QRect(128, 26, 40, 16));
    SafetyFactorSpinEdit = MakeSpinEdit(group, "SafetyFactorSpinEdit", QRect(172, 22, 72, 23));
    SafetyFactorSpinEdit->SetButtonLimits(MinMargin, MaxMargin);
    MakeLabel(group, nullptr, "%", QRect(250, 26, 20, 16));
}

void TGridSettingsForm::CreateButtons() {
    OKButton = MakeButton(this, "OKButton", "OK", QRect(GroupLeft, 346, 90, 25));
    OKButton->setDefault(true);
    CancelButton = MakeButton(this, "CancelButton", "Abbrechen",
                              QRect(GroupLeft + GroupWidth - 90, 346, 90, 25));
}

void TGridSettingsForm::ConnectEvents() {
    for (TColorShape* shape :
         {GridColorShape, SubGridColorShape, AxisColorShape, BackGroundColorShape}) {
        shape->OnMouseDown = [this](TColorShape* s) { SubGridColorShapeMouseDown(s); };
    }
    GridStyleComboBox->SetDrawItem([this](TCanvas& canvas, const TRect& rect, int index) {
        DrawPenStyleItem(canvas, GridColorShape->BrushColor(), rect, index);
    });
    SubGridStyleComboBox->SetDrawItem([this](TCanvas& canvas, const TRect& rect, int index) {
        DrawPenStyleItem(canvas, SubGridColorShape->BrushColor(), rect, index);
    });
    AxisStyleComboBox->SetDrawItem([this](TCanvas& canvas, const TRect& rect, int index) {
        DrawPenStyleItem(canvas, AxisColorShape->BrushColor(), rect, index);
    });
    for (TSpinEdit* edit : {AccuracySpinEdit, SafetySpaceSpinEdit, SafetyFactorSpinEdit}) {
        connect(edit, &QSpinBox::valueChanged, this,
                [this, edit] { AccuracySpinEditChange(edit); });
    }
    connect(SafetyFactorSpinEdit, &QSpinBox::editingFinished, this,
            [this] { SafetyFactorSpinEditExit(); });
    connect(MarkLengthTrackBar, &QSlider::valueChanged, this,
            [this] { MarkLengthTrackBarChange(); });
    connect(ShowNumbersCheckBox, &QCheckBox::toggled, this, [this] { ShowNumbersCheckBoxClick(); });
    connect(OKButton, &QPushButton::clicked, this, [this] { OKButtonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { CancelButtonClick(); });
}

void TGridSettingsForm::CenterOnScreen() {
    QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(ClientWidth / 2, ClientHeight / 2));
}

void TGridSettingsForm::FormCreate() {
    GridColorShape->SetBrushColor(Settings.GridColor);
    GridStyleComboBox->setCurrentIndex(Settings.GridStyle);
    SubGridColorShape->SetBrushColor(Settings.SubGridColor);
    SubGridStyleComboBox->setCurrentIndex(Settings.SubGridStyle);
    AxisColorShape->SetBrushColor(Settings.AxisColor);
    AxisStyleComboBox->setCurrentIndex(Settings.AxisStyle);
    ShowNumbersCheckBox->setChecked(Settings.ShowNumbers);
    ShowNumbersCheckBoxClick();  // also when the check box kept its state
    AccuracySpinEdit->setValue(Settings.Accuracy);
    SafetySpaceSpinEdit->setValue(Settings.SafetySpace);
    MarkLengthTrackBar->setValue(Settings.MarkLength);
    MarkLengthTrackBarChange();
    BackGroundColorShape->SetBrushColor(Settings.BackGroundColor);
    ReLabelEdit->setText(FromCp1252(Settings.ReLabel));
    ImLabelEdit->setText(FromCp1252(Settings.ImLabel));
    AutoValuesCheckBox->setChecked(Settings.AutoValues);
    SafetyFactorSpinEdit->setValue(MarginPercent(Settings.MarginFactor));
}

void TGridSettingsForm::SubGridColorShapeMouseDown(TColorShape* shape) {
    if (const auto chosen = UserDialogs().PickColor(ColorDialog1Color)) {
        ColorDialog1Color = *chosen & 0xFFFFFF;
        shape->SetBrushColor(ColorDialog1Color);
    }
    RepaintStyleLists();
}

void TGridSettingsForm::RepaintStyleLists() {
    GridStyleComboBox->Repaint();
    SubGridStyleComboBox->Repaint();
    AxisStyleComboBox->Repaint();
}

void TGridSettingsForm::AccuracySpinEditChange(TSpinEdit* edit) {
    if (edit->value() < 0) edit->setValue(0);
}

// A margin of 50 % or more would leave no inner plane (an infinite or negative factor).
void TGridSettingsForm::SafetyFactorSpinEditExit() {
    const int percent = SafetyFactorSpinEdit->value();
    const int kept = std::clamp(percent, MinMargin, MaxMargin);
    if (kept != percent) SafetyFactorSpinEdit->setValue(kept);
}

void TGridSettingsForm::MarkLengthTrackBarChange() {
    MarkLengthLabel->setText(QString::number(MarkLengthTrackBar->value()) + QStringLiteral("px"));
}

void TGridSettingsForm::ShowNumbersCheckBoxClick() {
    const bool on = ShowNumbersCheckBox->isChecked();
    AccuracySpinEdit->setEnabled(on);
    SafetySpaceSpinEdit->setEnabled(on);
    Label6->setEnabled(on);
    Label7->setEnabled(on);
    AutoValuesCheckBox->setEnabled(on);
}

void TGridSettingsForm::OKButtonClick() {
    auto styleOf = [](const QComboBox* list, std::uint8_t old) {
        const int index = list->currentIndex();
        return index < 0 ? old : static_cast<std::uint8_t>(index);
    };
    Settings.GridColor = GridColorShape->BrushColor();
    Settings.GridStyle = styleOf(GridStyleComboBox, Settings.GridStyle);
    Settings.SubGridColor = SubGridColorShape->BrushColor();
    Settings.SubGridStyle = styleOf(SubGridStyleComboBox, Settings.SubGridStyle);
    Settings.AxisColor = AxisColorShape->BrushColor();
    Settings.AxisStyle = styleOf(AxisStyleComboBox, Settings.AxisStyle);
    Settings.ShowNumbers = ShowNumbersCheckBox->isChecked();
    Settings.Accuracy = AccuracySpinEdit->value();
    Settings.SafetySpace = SafetySpaceSpinEdit->value();
    Settings.MarkLength = MarkLengthTrackBar->value();
    Settings.BackGroundColor = BackGroundColorShape->BrushColor();
    Settings.ReLabel = ToCp1252(ReLabelEdit->text());
    Settings.ImLabel = ToCp1252(ImLabelEdit->text());
    Settings.AutoValues = AutoValuesCheckBox->isChecked();
    Settings.MarginFactor = MarginFactorOf(SafetyFactorSpinEdit->value());
    accept();
}

void TGridSettingsForm::CancelButtonClick() {
    reject();
}

}  // namespace zeigora
