#include "circuitwindow/elemprop.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>
#include <string>

#include "circuit/circuitquery.h"
#include "circuitdiagram/circgrph.h"
#include "circuitwindow/formutil.h"
#include "circuitwindow/linklabel.h"
#include "circuitwindow/powerinfo.h"
#include "complex/cp1252text.h"
#include "complex/numtext.h"
#include "dialogs/editfram.h"
#include "dialogs/paintboxwidget.h"
#include "platform/cp1252.h"
#include "platform/userdialogs.h"

namespace zeigora {

namespace {

constexpr int NarrowWidth = 337;
constexpr int DetailsWidth = 670;
constexpr int PartHeight = 377;
constexpr int GroupHeight = 559;
constexpr int PreviewWidth = 110;
constexpr int PreviewHeight = 78;
constexpr double SmallestValue = 1e-12;
constexpr char DetailsClosed[] = "Details >>";
constexpr char DetailsOpen[] = "Details <<";
constexpr char ZeroValueText[] = "Bauteilwert darf nicht 0 sein!";
constexpr auto& LastElementText =
    "In einer Gruppe muss sich mindestens ein Element befinden. Daher können Sie dieses "
    "Element nicht löschen."_cp;
constexpr auto& DeleteQuestion =
    "Sind Sie sicher, dass Sie dieses Element / diese Bauteilgruppe löschen möchten?"_cp;
constexpr TColor VoltageColor = 0xFF0000;  // pure blue as 0x00BBGGRR
constexpr TColor CurrentColor = 0x0000FF;  // pure red

template <class W>
W* Named(W* widget, const char* name, QRect geometry) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const char* text, QRect geometry) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);  // names from files may look like markup
    label->setText(FromCp1252(text));
    return Named(label, name, geometry);
}

TLinkLabel* MakeLink(QWidget* parent, const char* name, const char* text, QRect geometry) {
    return Named(new TLinkLabel(FromCp1252(text), parent), name, geometry);
}

void SetFontStyle(QWidget* widget, bool bold, bool underline) {
    QFont font = widget->font();
    font.setBold(bold);
    font.setUnderline(underline);
    widget->setFont(font);
}

// Coloured while enabled; a disabled control keeps the platform's grey.
void SetTextColor(QWidget* widget, QPalette::ColorRole role, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Active, role, color);
    palette.setColor(QPalette::Inactive, role, color);
    widget->setPalette(palette);
}

void MarkEdit(QLineEdit* edit, bool invalid) {
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, invalid ? QColor(255, 0, 0) : QColor(255, 255, 255));
    edit->setPalette(palette);
}

TComplexEditorFrame* MakeFrame(QWidget* parent, const char* name, const char* caption,
                               QPoint position) {
    auto* frame = new TComplexEditorFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->move(position);
    frame->InitValue();
    frame->SetReadOnly(true);
    frame->Zeigereigenschaften->setTitle(FromCp1252(caption));
    frame->Label1->setText(QStringLiteral("Wirk:"));
    frame->Label2->setText(QStringLiteral("Blind:"));
    frame->Label3->setText(QStringLiteral("Schein:"));
    return frame;
}

// Type name and unit of the parts; a group has no unit.
const char* UnitName(int elementType) {
    switch (elementType) {
        case etResistor:
            return "Ohm";
        case etCapacitor:
            return "F";
        case etCoil:
            return "H";
        default:
            return "-";
    }
}

std::string ListEntry(const TCustomCircuitElement& element) {
    return element.Name.Str() + " [" + ElementTypeName(element.ElementType()) + "]";
}

}  // namespace

const char* ElementTypeName(int elementType) {
    switch (elementType) {
        case etGroup:
            return "Gruppe";
        case etResistor:
            return "Widerstand";
        case etCapacitor:
            return "Kondensator";
        case etCoil:
            return "Spule";
        default:
            return "Unbekannt";
    }
}

TElementPropertiesForm::TElementPropertiesForm(TElementDialogLinks links, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      Links(std::move(links)) {
    setObjectName(QStringLiteral("ElementPropertiesForm"));
    setWindowTitle(QStringLiteral("Bauteileigenschaften"));
    setFont(QFont(QStringLiteral("Verdana"), 8));
    setFixedSize(NarrowWidth, PartHeight);
    CreateControls();
    CreateGroupEditor();
    ConnectEvents();
    InitForElement();
    NoDefaultButtons(*this);
    CenterOnScreen(*this);
}

void TElementPropertiesForm::CreateControls() {
    GroupBox1 = Named(new QGroupBox(QStringLiteral("Bauteileigenschaften"), this), "GroupBox1",
                      {4, 4, 329, 151});
    Label1 = MakeLabel(GroupBox1, "Label1", "Bezeichnung:", {8, 24, 84, 16});
    ElementNameEdit = Named(new QLineEdit(GroupBox1), "ElementNameEdit", {94, 21, 112, 21});
    ElementNameEdit->setMaxLength(255);  // the name's record holds no more
    Label2 = MakeLabel(GroupBox1, "Label2", "Bauteiltyp:", {8, 52, 84, 16});
    ElementTypeLabel = MakeLabel(GroupBox1, "ElementTypeLabel", "Unbekannt", {94, 52, 112, 16});
    Label4 = MakeLabel(GroupBox1, "Label4", "Bauteilwert:", {8, 80, 84, 16});
    ElementValueEdit = Named(new QLineEdit(GroupBox1), "ElementValueEdit", {94, 77, 80, 21});
    ValueTypeLabel = MakeLabel(GroupBox1, "ValueTypeLabel", "-", {180, 80, 30, 16});
    PaintBox1 =
        Named(new TPaintBoxWidget(GroupBox1), "PaintBox1", {212, 20, PreviewWidth, PreviewHeight});
    PaintBox1->Surface().OnPaint = [this](TPaintBoxEx& surface) { PaintPreview(surface); };
    Label3 = MakeLabel(GroupBox1, "Label3", "Zu Gruppe:", {8, 116, 84, 16});
    ParentLabel = MakeLink(GroupBox1, "ParentLabel", "Keine", {94, 116, 228, 16});
    SetFontStyle(ParentLabel, true, true);
    SetTextColor(ParentLabel, QPalette::WindowText, Qt::blue);

    ComplexEditorFrame1 = MakeFrame(this, "ComplexEditorFrame1", "Bauteilimpedanz [Ohm]", {4, 160});
    ComplexEditorFrame2 = MakeFrame(this, "ComplexEditorFrame2", "Spannungsabfall [V]", {337, 160});
    ComplexEditorFrame3 = MakeFrame(this, "ComplexEditorFrame3", "Bauteilstrom [A]", {337, 4});
    ComplexEditorFrame2->hide();
    ComplexEditorFrame3->hide();

    UButton = Named(new QPushButton(QStringLiteral("U"), this), "UButton", {4, 318, 32, 25});
    UButton->setToolTip(FromCp1252("Spannung als Zeiger hinzufügen (Skala 1)"_cp));
    SetTextColor(UButton, QPalette::ButtonText, Qt::blue);
    IButton = Named(new QPushButton(QStringLiteral("I"), this), "IButton", {40, 318, 32, 25});
    IButton->setToolTip(FromCp1252("Strom als Zeiger hinzufügen (Skala 2)"_cp));
    SetTextColor(IButton, QPalette::ButtonText, Qt::red);
    PowerInformationButton = Named(new QPushButton(QStringLiteral("Leistungsinformation..."), this),
                                   "PowerInformationButton", {76, 318, 150, 25});
    ShowDetailsButton = Named(new QPushButton(QString::fromLatin1(DetailsClosed), this),
                              "ShowDetailsButton", {230, 318, 103, 25});
}

void TElementPropertiesForm::CreateGroupEditor() {
    GroupEditorGroupBox = Named(new QGroupBox(QStringLiteral("Gruppe bearbeiten"), this),
                                "GroupEditorGroupBox", {4, 372, 329, 181});
    QGroupBox* box = GroupEditorGroupBox;
    Label5 = MakeLabel(box, "Label5", "Gruppenelemente:", {8, 20, 150, 16});
    SetFontStyle(Label5, false, true);
    SerialRadioButton = Named(new QRadioButton(QStringLiteral("Seriell"), box), "SerialRadioButton",
                              {160, 18, 76, 18});
    ParallelRadioButton = Named(new QRadioButton(QStringLiteral("Parallel"), box),
                                "ParallelRadioButton", {240, 18, 80, 18});
    ElementListBox = Named(new QListWidget(box), "ElementListBox", {8, 40, 200, 133});
    ElementListBox->setSelectionMode(QAbstractItemView::ExtendedSelection);
    NewRLabel = MakeLink(box, "NewRLabel", "Neu (R)", {216, 40, 105, 16});
    NewLLabel = MakeLink(box, "NewLLabel", "Neu (L)", {216, 58, 105, 16});
    NewCLabel = MakeLink(box, "NewCLabel", "Neu (C)", {216, 76, 105, 16});
    NewGroupLabel = MakeLink(box, "NewGroupLabel", "Neu (Gruppe)", {216, 94, 105, 16});
    EditElementLabel = MakeLink(box, "EditElementLabel", "Bearbeiten", {216, 118, 105, 16});
    DeleteElementLabel = MakeLink(box, "DeleteElementLabel", "Löschen"_cp, {216, 136, 105, 16});
    ToGroupLabel = MakeLink(box, "ToGroupLabel", "Zu neuer Gruppe", {216, 154, 105, 16});
    for (TLinkLabel* label :
         {NewRLabel, NewLLabel, NewCLabel, NewGroupLabel, DeleteElementLabel, ToGroupLabel})
        SetFontStyle(label, true, false);
    SetFontStyle(EditElementLabel, true, true);
    SetTextColor(EditElementLabel, QPalette::WindowText, Qt::blue);
    GroupEditorGroupBox->hide();
}

void TElementPropertiesForm::ConnectEvents() {
    connect(ElementNameEdit, &QLineEdit::textChanged, this, [this] { ElementNameEditChange(); });
    connect(ElementValueEdit, &QLineEdit::textChanged, this, [this] { ElementValueEditChange(); });
    connect(ShowDetailsButton, &QPushButton::clicked, this, [this] { ShowDetailsButtonClick(); });
    connect(UButton, &QPushButton::clicked, this, [this] { AddPhasor(false); });
    connect(IButton, &QPushButton::clicked, this, [this] { AddPhasor(true); });
    connect(PowerInformationButton, &QPushButton::clicked, this,
            [this] { PowerInformationButtonClick(); });
    ParentLabel->OnClick = [this] { ParentLabelClick(); };
    connect(ElementListBox, &QListWidget::itemSelectionChanged, this,
            [this] { ElementListBoxSelectionChange(); });
    connect(ElementListBox, &QListWidget::currentRowChanged, this,
            [this] { ElementListBoxSelectionChange(); });
    connect(ElementListBox, &QListWidget::itemDoubleClicked, this,
            [this] { EditElementLabelClick(); });
    connect(SerialRadioButton, &QRadioButton::clicked, this, [this] { ConnectionClick(); });
    connect(ParallelRadioButton, &QRadioButton::clicked, this, [this] { ConnectionClick(); });
    NewRLabel->OnClick = [this] {
        AddNewElement(std::make_unique<TResistor>(DefaultResistance), "Neuer Widerstand");
    };
    NewLLabel->OnClick = [this] {
        AddNewElement(std::make_unique<TCoil>(DefaultInductance), "Neue Spule");
    };
    NewCLabel->OnClick = [this] {
        AddNewElement(std::make_unique<TCapacitor>(DefaultCapacitance), "Neuer Kondensator");
    };
    NewGroupLabel->OnClick = [this] { NewGroupLabelClick(); };
    EditElementLabel->OnClick = [this] { EditElementLabelClick(); };
    DeleteElementLabel->OnClick = [this] { DeleteElementLabelClick(); };
    ToGroupLabel->OnClick = [this] { ToGroupLabelClick(); };
}

TCircuitElementGroup* TElementPropertiesForm::EditedGroup() const {
    if (Element().ElementType() != etGroup) return nullptr;
    return static_cast<TCircuitElementGroup*>(&Element());
}

void TElementPropertiesForm::SetHeight(int height) {
    setFixedSize(width(), height);
}

void TElementPropertiesForm::InitForElement() {
    SetHeight(PartHeight);
    for (QWidget* control : {static_cast<QWidget*>(ElementValueEdit), static_cast<QWidget*>(Label4),
                             static_cast<QWidget*>(ValueTypeLabel)})
        control->setEnabled(true);
    ElementTypeLabel->setText(QStringLiteral("Unbekannt"));
    ValueTypeLabel->setText(QStringLiteral("-"));
    ParentLabel->setEnabled(false);
    ParentLabel->setText(QStringLiteral("Keine"));
    GroupEditorGroupBox->hide();
    ComplexEditorFrame1->Zeigereigenschaften->setTitle(QStringLiteral("Bauteilimpedanz [Ohm]"));

    // Filling the edits runs their change paths even when the text stays the same, so the
    // frames always show the element now edited.
    const TCustomCircuitElement& element = Element();
    const QSignalBlocker nameBlocker(ElementNameEdit);
    const QSignalBlocker valueBlocker(ElementValueEdit);
    ElementNameEdit->setText(FromCp1252(element.Name.View()));
    ElementNameEditChange();
    ElementValueEdit->setText(FromCp1252(FormatFloatEng("0.000", element.ElementValue)));
    ElementValueEditChange();

    const int type = element.ElementType();
    // A group has no symbol of its own.
    PaintBox1->setVisible(type != etGroup);
    if (type != etGroup) {
        ElementTypeLabel->setText(QString::fromLatin1(ElementTypeName(type)));
        ValueTypeLabel->setText(QString::fromLatin1(UnitName(type)));
    } else {
        ComplexEditorFrame1->Zeigereigenschaften->setTitle(QStringLiteral("Gruppenimpedanz [Ohm]"));
        ElementTypeLabel->setText(QStringLiteral("Gruppe"));
        for (QWidget* control :
             {static_cast<QWidget*>(ElementValueEdit), static_cast<QWidget*>(Label4),
              static_cast<QWidget*>(ValueTypeLabel)})
            control->setEnabled(false);
        GroupEditorGroupBox->show();
        SetHeight(GroupHeight);
        FillElementList();
        const bool parallel = EditedGroup()->IsParallel;
        ParallelRadioButton->setChecked(parallel);
        SerialRadioButton->setChecked(!parallel);
    }
    if (const TCircuitElementGroup* parent = element.Parent()) {
        ParentLabel->setEnabled(true);
        ParentLabel->setText(FromCp1252(parent->Name.View()));
    }
}

void TElementPropertiesForm::ElementNameEditChange() {
    Element().Name = ToCp1252(ElementNameEdit->text());
    PaintBox1->update();
    // The diagram behind the dialog shows the name too.
    if (Links.RedrawDiagram) Links.RedrawDiagram();
    TreeChanged("Bezeichnung ändern", NameField);
}

void TElementPropertiesForm::ElementValueEditChange() {
    const double value = StrToFloatEng(ToCp1252(ElementValueEdit->text()));
    if (std::isnan(value)) {
        MarkEdit(ElementValueEdit, true);
        return;
    }
    MarkEdit(ElementValueEdit, false);
    if (std::fabs(value) <= SmallestValue && Element().ElementType() != etGroup) {
        UserDialogs().ShowWarning(ZeroValueText);
        return;
    }
    Element().ElementValue = value;
    if (Links.RedrawDiagram) Links.RedrawDiagram();
    ShowQuantities();
    PaintBox1->update();
    TreeChanged("Bauteilwert ändern", ValueField);
}

void TElementPropertiesForm::TreeChanged(const char* caption, int field) {
    if (Links.TreeChanged) Links.TreeChanged(caption, field);
}

void TElementPropertiesForm::ShowQuantities() {
    const TCustomCircuitElement& element = Element();
    ComplexEditorFrame1->SetValue(element.GetImpedance(Links.Supply));
    ComplexEditorFrame2->SetValue(GetVoltage(element, Links.Supply));
    ComplexEditorFrame3->SetValue(GetCurrent(element, Links.Supply));
}

void TElementPropertiesForm::PaintPreview(TPaintBoxEx& surface) {
    TCanvas& canvas = surface.DrawingCanvas();
    canvas.SetBrushStyle(TBrushStyle::Solid);
    canvas.SetBrushColor(clWhite);
    canvas.SetPenColor(clWhite);
    canvas.Rectangle(0, 0, surface.Width(), surface.Height());
    TCustomCircuitElement& element = Element();
    if (element.ElementType() == etGroup) return;
    canvas.SetPenColor(clBlack);
    canvas.SetBrushStyle(TBrushStyle::Clear);
    canvas.SetFontName(DefaultFontName);
    // The preview's coordinates must not replace those the window's hit test relies on.
    const TDrawnRect drawnRect = element.DrawnRect;
    const int h = surface.Height();
    DrawElement(canvas, element, 0, h / 2, h, {Links.ShowElementValues, Links.ShowElementNames});
    element.DrawnRect = drawnRect;
}

void TElementPropertiesForm::ShowDetailsButtonClick() {
    const bool open = ShowDetailsButton->text() == QString::fromLatin1(DetailsClosed);
    ShowDetailsButton->setText(QString::fromLatin1(open ? DetailsOpen : DetailsClosed));
    setFixedSize(open ? DetailsWidth : NarrowWidth, height());
    ComplexEditorFrame2->setVisible(open);
    ComplexEditorFrame3->setVisible(open);
}

void TElementPropertiesForm::MoveTo(TCustomCircuitElement* element) {
    if (element == nullptr) return;
    Links.SelectedElement = element;
    InitForElement();
    if (Links.RedrawDiagram) Links.RedrawDiagram();
}

void TElementPropertiesForm::ParentLabelClick() {
    MoveTo(Element().Parent());
}

void TElementPropertiesForm::FillElementList() {
    const TCircuitElementGroup* group = EditedGroup();
    {
        const QSignalBlocker blocker(ElementListBox);
        ElementListBox->clear();
        for (int i = 0; i < group->Count(); ++i)
            ElementListBox->addItem(FromCp1252(ListEntry(*group->Items(i))));
        ElementListBox->setCurrentRow(-1);
        ElementListBox->clearSelection();
    }
    // A change of the members changes the group's voltage and current as well.
    ShowQuantities();
    EditElementLabel->setEnabled(false);
    DeleteElementLabel->setEnabled(false);
    ToGroupLabel->setEnabled(false);
}

void TElementPropertiesForm::ElementListBoxSelectionChange() {
    const bool hasCurrent = ElementListBox->currentRow() >= 0;
    const int selected = static_cast<int>(ElementListBox->selectedItems().size());
    EditElementLabel->setEnabled(hasCurrent && selected == 1);
    DeleteElementLabel->setEnabled(hasCurrent && selected == 1);
    ToGroupLabel->setEnabled(hasCurrent && selected < ElementListBox->count());
}

// The entry "Bearbeiten" and "Löschen" act on: the one selected entry, which after a
// deselecting click need not be the entry with the focus; otherwise the entry with the focus.
int TElementPropertiesForm::ActiveEntry() const {
    const QList<QListWidgetItem*> selected = ElementListBox->selectedItems();
    if (selected.size() == 1) return ElementListBox->row(selected.front());
    return ElementListBox->currentRow();
}

void TElementPropertiesForm::EditElementLabelClick() {
    const int entry = ActiveEntry();
    if (entry < 0) return;
    MoveTo(EditedGroup()->Items(entry));
}

void TElementPropertiesForm::DeleteElementLabelClick() {
    TCircuitElementGroup* group = EditedGroup();
    const int entry = ActiveEntry();
    if (group == nullptr || entry < 0 || entry >= group->Count()) return;
    if (group->Count() == 1) {
        UserDialogs().ShowError(LastElementText);
        return;
    }
    if (!UserDialogs().AskYesNo(DeleteQuestion)) return;
    group->Delete(entry, true, true);
    FillElementList();
    if (Links.RedrawDiagram) Links.RedrawDiagram();
    TreeChanged("Element löschen");
}

void TElementPropertiesForm::ConnectionClick() {
    EditedGroup()->IsParallel = ParallelRadioButton->isChecked();
    ShowQuantities();
    if (Links.RedrawDiagram) Links.RedrawDiagram();
    TreeChanged(EditedGroup()->IsParallel ? "Parallel schalten" : "Seriell schalten");
}

void TElementPropertiesForm::AddNewElement(std::unique_ptr<TCustomCircuitElement> element,
                                           const char* caption) {
    EditedGroup()->Add(std::move(element));
    FillElementList();
    if (Links.RedrawDiagram) Links.RedrawDiagram();
    TreeChanged(caption);
}

void TElementPropertiesForm::NewGroupLabelClick() {
    auto group = std::make_unique<TCircuitElementGroup>();
    group->Add(std::make_unique<TResistor>(DefaultResistance));
    AddNewElement(std::move(group), "Neue Gruppe");
}

void TElementPropertiesForm::ToGroupLabelClick() {
    TCircuitElementGroup* group = EditedGroup();
    const int count = ElementListBox->count();
    std::vector<int> rows;
    for (int i = count - 1; i >= 0; --i)
        if (ElementListBox->item(i)->isSelected()) rows.push_back(i);
    // Moving every member would leave the group empty, and an empty group removes itself.
    if (rows.empty() || static_cast<int>(rows.size()) >= count) return;
    auto newGroup = std::make_unique<TCircuitElementGroup>();
    for (int i : rows)
        newGroup->Add(group->Delete(i, true, false));
    AddNewElement(std::move(newGroup), "Zu neuer Gruppe");
}

void TElementPropertiesForm::AddPhasor(bool current) {
    const TCustomCircuitElement& element = Element();
    TPhasor phasor = ZeroPhasor();
    phasor.Visible = 1;
    phasor.NameVisible = 1;
    phasor.Name = (current ? "I" : "U") + element.Name.Str();
    phasor.Value = current ? GetCurrent(element, Links.Supply) : GetVoltage(element, Links.Supply);
    phasor.Color = current ? CurrentColor : VoltageColor;
    phasor.Style = 0;
    phasor.Width = 1;
    phasor.Scale = current ? 1 : 0;
    Links.Phasors.push_back(phasor);
    if (Links.PhasorsChanged) Links.PhasorsChanged();
}

void TElementPropertiesForm::PowerInformationButtonClick() {
    TPowerInformationForm form(GetPower(Element(), Links.Supply), this);
    form.exec();
}

}  // namespace zeigora
