#include "circuitwindow/circuitc.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "circuit/circuitfile.h"
#include "circuit/circuitquery.h"
#include "circuitdiagram/circgrph.h"
#include "circuitwindow/analysisform.h"
#include "circuitwindow/elemprop.h"
#include "circuitwindow/formutil.h"
#include "complex/cp1252text.h"
#include "complex/numtext.h"
#include "dialogs/editfram.h"
#include "dialogs/icons.h"
#include "dialogs/paintboxwidget.h"
#include "dialogs/pictureexport.h"
#include "platform/cp1252.h"
#include "platform/userdialogs.h"

namespace zeigora {

namespace {

constexpr int ClientWidth = 686;
constexpr int ClientHeight = 566;
constexpr int MinDiagramSide = 100;
constexpr int MaxDiagramSide = 9999;

constexpr char CircuitFilter[] = "Zeigora Schaltungen (*.zgs)|*.zgs";
constexpr char CircuitDefaultExt[] = "*.zgs";
constexpr auto& NoElementText = "Kein Bauelement ausgewählt!"_cp;
constexpr auto& OuterGroupText = "Sie können die äußerste Bauteilgruppe nicht löschen!"_cp;
constexpr auto& DeleteQuestion =
    "Sind Sie sicher, dass Sie dieses Bauteil / diese Bauteilgruppe löschen möchten?"_cp;
constexpr auto& DeleteAllQuestion =
    "Wenn Sie fortfahren wird die komplette Schaltung gelöscht. Sind Sie sicher, dass Sie "
    "fortfahren möchten?"_cp;
constexpr auto& OpenQuestion =
    "Wenn Sie fortfahren wird die aktuelle Schaltung gelöscht. Sind Sie sicher, dass Sie "
    "fortfahren möchten?"_cp;
constexpr auto& ZeroFrequencyText =
    "AC-Frequenz darf nicht 0 sein. Die Frequenz wird jetzt auf 50 Hz zurückgesetzt."_cp;
constexpr auto& NoticeText =
    "Wichtiger Hinweis: Bei den berechneten Impedanzen, Strömen und Spannungen besteht "
    "keine Garantie auf Richtigkeit!"_cp;

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

QSpinBox* MakeSpinEdit(QWidget* parent, const char* name, int value, QRect geometry) {
    auto* spin = Named(new QSpinBox(parent), name, geometry);
    spin->setRange(MinDiagramSide, MaxDiagramSide);
    spin->setSingleStep(10);
    spin->setValue(value);
    return spin;
}

TComplexEditorFrame* MakeFrame(QWidget* parent, const char* name, const char* caption,
                               QPoint position) {
    auto* frame = new TComplexEditorFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->move(position);
    frame->InitValue();
    frame->Zeigereigenschaften->setTitle(FromCp1252(caption));
    frame->Label1->setText(QStringLiteral("Wirk:"));
    frame->Label2->setText(QStringLiteral("Blind:"));
    frame->Label3->setText(QStringLiteral("Schein:"));
    return frame;
}

void MarkEdit(QLineEdit* edit, bool invalid) {
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, invalid ? QColor(255, 0, 0) : QColor(255, 255, 255));
    edit->setPalette(palette);
}

}  // namespace

TCircuitCalculationForm::TCircuitCalculationForm(TPhasorArray& phasors,
                                                 std::function<void()> phasorsChanged,
                                                 QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      Phasors(phasors),
      PhasorsChanged(std::move(phasorsChanged)) {
    setObjectName(QStringLiteral("CircuitCalculationForm"));
    setWindowTitle(QStringLiteral("Schaltungsberechnung"));
    setFont(QFont(QStringLiteral("Verdana"), 8));
    setFixedSize(ClientWidth, ClientHeight);
    CreateSettings();
    CreateToolBar();
    CreateDiagram();
    CreateResultFrames();
    OuterGroup = MakeDefaultCircuit();
    ComplexEditorFrame3->SetValue(Supply.SupplyVoltage);
    ConnectEvents();
    SetElementButtons(false);
    NoDefaultButtons(*this);
    RedrawDiagram();
    StartHistory();
    // Otherwise the dialog would give the focus to the first push button, a conjugation button.
    ACFrequencyEdit->setFocus();
    CenterOnScreen(*this);
}

// Escape would close the window and lose the circuit; only the close box closes it.
void TCircuitCalculationForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TCircuitCalculationForm::CreateSettings() {
    GroupBox1 = Named(new QGroupBox(QStringLiteral("Globale Einstellungen"), this), "GroupBox1",
                      {8, 4, 670, 169});
    QGroupBox* box = GroupBox1;
    Label1 = MakeLabel(box, "Label1", "AC-Frequenz:", {12, 26, 90, 16});
    ACFrequencyEdit =
        Named(new QLineEdit(QStringLiteral("50"), box), "ACFrequencyEdit", {104, 23, 90, 21});
    MarkEdit(ACFrequencyEdit, false);
    Label2 = MakeLabel(box, "Label2", "Hz", {200, 26, 30, 16});
    ElementNamesCheckBox =
        Named(new QCheckBox(QStringLiteral("Bauteilbeschriftungen anzeigen"), box),
              "ElementNamesCheckBox", {12, 54, 300, 18});
    ElementNamesCheckBox->setChecked(true);
    ElementValuesCheckBox = Named(new QCheckBox(QStringLiteral("Bauteilwerte anzeigen"), box),
                                  "ElementValuesCheckBox", {12, 76, 300, 18});
    Label3 = MakeLabel(box, "Label3", "Weite:", {12, 106, 48, 16});
    PaintBoxWidthSpinEdit =
        MakeSpinEdit(box, "PaintBoxWidthSpinEdit", DefaultDiagramWidth, {62, 103, 76, 21});
    Label4 = MakeLabel(box, "Label4", "Höhe:"_cp, {156, 106, 48, 16});
    PaintBoxHeightSpinEdit =
        MakeSpinEdit(box, "PaintBoxHeightSpinEdit", DefaultDiagramHeight, {206, 103, 76, 21});
    Label5 = MakeLabel(box, "Label5", NoticeText, {12, 124, 316, 42});
    Label5->setAlignment(Qt::AlignCenter);
    Label5->setWordWrap(true);
    QPalette palette = Label5->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    Label5->setPalette(palette);
    ComplexEditorFrame3 =
        MakeFrame(box, "ComplexEditorFrame3", "Versorgungsspannung [V]", {333, 12});
}

void TCircuitCalculationForm::CreateToolBar() {
    ToolBar1 = Named(new QToolBar(this), "ToolBar1", {0, 177, ClientWidth, 26});
    ToolBar1->setIconSize(QSize(16, 16));
    const auto add = [this](const char* name, const char* icon, const char* hint) {
        auto* button = new QToolButton(ToolBar1);
        button->setObjectName(QString::fromLatin1(name));
        button->setIcon(ZeigoraIcon(icon));
        button->setToolTip(FromCp1252(hint));
        button->setAutoRaise(true);
        ToolBar1->addWidget(button);
        return button;
    };
    EditOuterGroupButton =
        add("EditOuterGroupButton", "circuit-group", "Äußerste Schaltungsgruppe bearbeiten"_cp);
    EditElementButton = add("EditElementButton", "element-edit", "Element bearbeiten");
    DeleteElementButton = add("DeleteElementButton", "delete", "Bauteil(gruppe) löschen"_cp);
    DeleteAllButton = add("DeleteAllButton", "delete-all", "Alles löschen"_cp);
    CreateUndoButtons();
    ToolBar1->addSeparator();
    OpenFileButton = add("OpenFileButton", "file-open", "Schaltung öffnen"_cp);
    SaveFileButton = add("SaveFileButton", "file-save", "Schaltung speichern");
    ToolBar1->addSeparator();
    SaveAsBitmapButton = add("SaveAsBitmapButton", "save-picture", "Als Grafik speichern");
    ToolBar1->addSeparator();
    AnalysisButton = add("AnalysisButton", "circuit-analysis",
                         "Schaltungsanalyse: Zeigerdiagramm, Ortskurve, Frequenzgang");
}

void TCircuitCalculationForm::CreateDiagram() {
    ScrollBox1 = Named(new QScrollArea(this), "ScrollBox1", {9, 207, 668, 190});
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setWidgetResizable(false);
    PaintBox = new TPaintBoxWidget;
    // The diagram is drawn when something changes, not on every paint, and takes no focus.
    PaintBox->setFocusPolicy(Qt::NoFocus);
    PaintBox->setObjectName(QStringLiteral("PaintBox"));
    SetDiagramSize(DefaultDiagramWidth, DefaultDiagramHeight);
    ScrollBox1->setWidget(PaintBox);
    // The diagram is drawn when something changes, not on every paint of the widget, so the
    // totals are current at once and scrolling costs no drawing.
    TPaintBoxEx& surface = PaintBox->Surface();
    surface.OnMouseDown = [this](TPaintBoxEx&, TMouseButton, TShiftState, int x, int y) {
        DiagramMouseDown(x, y);
    };
    surface.OnDblClick = [this](TPaintBoxEx&) { EditElement(); };
}

void TCircuitCalculationForm::CreateResultFrames() {
    ComplexEditorFrame1 =
        MakeFrame(this, "ComplexEditorFrame1", "Schaltungsimpedanz [Ohm]", {8, 405});
    ComplexEditorFrame2 = MakeFrame(this, "ComplexEditorFrame2", "Schaltungsstrom [A]", {349, 405});
    ComplexEditorFrame1->SetReadOnly(true);
    ComplexEditorFrame2->SetReadOnly(true);
}

void TCircuitCalculationForm::ConnectEvents() {
    connect(ACFrequencyEdit, &QLineEdit::textChanged, this, [this] { ACFrequencyEditChange(); });
    connect(ElementNamesCheckBox, &QCheckBox::toggled, this, [this](bool on) {
        ShowElementNames = on;
        RedrawDiagram();
    });
    connect(ElementValuesCheckBox, &QCheckBox::toggled, this, [this](bool on) {
        ShowElementValues = on;
        RedrawDiagram();
    });
    connect(PaintBoxWidthSpinEdit, &QSpinBox::valueChanged, this, [this] { RedrawDiagram(); });
    connect(PaintBoxHeightSpinEdit, &QSpinBox::valueChanged, this, [this] { RedrawDiagram(); });
    ComplexEditorFrame3->SetChangeHandler([this] { SupplyVoltageChange(); });
    connect(EditOuterGroupButton, &QToolButton::clicked, this,
            [this] { EditOuterGroupButtonClick(); });
    connect(EditElementButton, &QToolButton::clicked, this, [this] { EditElement(); });
    connect(DeleteElementButton, &QToolButton::clicked, this,
            [this] { DeleteElementButtonClick(); });
    connect(DeleteAllButton, &QToolButton::clicked, this, [this] { DeleteAllButtonClick(); });
    connect(OpenFileButton, &QToolButton::clicked, this, [this] { OpenFileButtonClick(); });
    connect(SaveFileButton, &QToolButton::clicked, this, [this] { SaveFileButtonClick(); });
    connect(SaveAsBitmapButton, &QToolButton::clicked, this, [this] { SaveAsBitmapButtonClick(); });
    connect(AnalysisButton, &QToolButton::clicked, this, [this] { AnalysisButtonClick(); });
}

TPaintBoxEx& TCircuitCalculationForm::Diagram() {
    return PaintBox->Surface();
}

void TCircuitCalculationForm::RedrawDiagram() {
    FitDiagramSize();
    PaintDiagram(Diagram());
    PaintBox->update();
    if (AnalysisForm != nullptr) AnalysisForm->Refresh();
}

// The diagram is exactly as large as the spin edits say.
void TCircuitCalculationForm::FitDiagramSize() {
    const int width = PaintBoxWidthSpinEdit->value();
    const int height = PaintBoxHeightSpinEdit->value();
    if (width != Diagram().Width() || height != Diagram().Height()) SetDiagramSize(width, height);
}

void TCircuitCalculationForm::SetDiagramSize(int width, int height) {
    PaintBox->Surface().Resize(width, height);
    PaintBox->setFixedSize(PaintBox->Surface().Width(), PaintBox->Surface().Height());
}

void TCircuitCalculationForm::PaintDiagram(TPaintBoxEx& surface) {
    ComplexEditorFrame1->SetValue(OuterGroup->GetImpedance(Supply));
    ComplexEditorFrame2->SetValue(GetCurrent(*OuterGroup, Supply));
    TCanvas& canvas = surface.DrawingCanvas();
    canvas.SetBrushStyle(TBrushStyle::Solid);
    canvas.SetBrushColor(clWhite);
    canvas.SetPenColor(clWhite);
    canvas.Rectangle(0, 0, surface.Width(), surface.Height());
    canvas.SetPenColor(clBlack);
    canvas.SetBrushStyle(TBrushStyle::Clear);
    canvas.SetFontName(DefaultFontName);
    DrawCircuit(canvas, *OuterGroup, surface.Height(), ShowElementValues, ShowElementNames);
    if (SelectedElement != nullptr) {
        const TDrawnRect& r = SelectedElement->DrawnRect;
        canvas.SetPenColor(clRed);
        canvas.SetBrushStyle(TBrushStyle::Clear);
        canvas.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
        canvas.SetPenColor(clBlack);
    }
}

void TCircuitCalculationForm::DiagramMouseDown(int x, int y) {
    if (SuppressNextMouseDown) {
        SuppressNextMouseDown = false;
        return;
    }
    SelectedElement = FindElementAt({x, y}, OuterGroup.get());
    SetElementButtons(SelectedElement != nullptr);
    RedrawDiagram();
}

void TCircuitCalculationForm::SetElementButtons(bool enabled) {
    EditElementButton->setEnabled(enabled);
    DeleteElementButton->setEnabled(enabled);
}

void TCircuitCalculationForm::SelectNone() {
    SelectedElement = nullptr;
    SetElementButtons(false);
}

void TCircuitCalculationForm::EditElement() {
    if (SelectedElement == nullptr) {
        UserDialogs().ShowError(NoElementText);
        return;
    }
    {
        // Each applied change is a step; typing in a field goes on only within one opening.
        UndoHistory.EndMerge();
        const auto treeChanged = [this](const char* caption, int field) {
            CommitStep(caption, SelectionIndex(), field);
        };
        TElementPropertiesForm form(
            {SelectedElement, Supply, ShowElementNames, ShowElementValues,
             [this] { RedrawDiagram(); }, Phasors, PhasorsChanged, treeChanged},
            this);
        form.exec();
        UndoHistory.EndMerge();
    }
    // A double click's last press arrives after the dialog has closed; it must not select.
    SuppressNextMouseDown = true;
    SetElementButtons(SelectedElement != nullptr);
    RedrawDiagram();
}

void TCircuitCalculationForm::EditOuterGroupButtonClick() {
    SelectedElement = OuterGroup.get();
    SetElementButtons(true);
    EditElement();
}

void TCircuitCalculationForm::DeleteElementButtonClick() {
    if (SelectedElement == nullptr) return;
    if (SelectedElement == OuterGroup.get()) {
        UserDialogs().ShowError(OuterGroupText);
        return;
    }
    if (!UserDialogs().AskYesNo(DeleteQuestion)) return;
    const int selected = SelectionIndex();
    SelectedElement->RemoveFromParent(true);
    SelectNone();
    RedrawDiagram();
    CommitStep("Bauteil löschen", selected);
}

void TCircuitCalculationForm::DeleteAllButtonClick() {
    if (!UserDialogs().AskYesNo(DeleteAllQuestion)) return;
    const int selected = SelectionIndex();
    OuterGroup->Clear();
    SelectNone();
    RedrawDiagram();
    CommitStep("Alles löschen", selected);
}

void TCircuitCalculationForm::OpenFileButtonClick() {
    if (!UserDialogs().AskYesNo(OpenQuestion)) return;
    const std::optional<TFileChoice> choice =
        UserDialogs().GetOpenFileName("Schaltung öffnen"_cp, CircuitFilter, CircuitDefaultExt);
    if (choice) OpenCircuitFile(choice->FileName);
}

void TCircuitCalculationForm::OpenCircuitFile(const std::string& fileName) {
    TCircuitLoadResult loaded = LoadCircuitFromFile(fileName);
    // A file that cannot be read leaves the circuit shown before.
    if (!loaded.Circuit) {
        UserDialogs().ShowError(loaded.Error);
        return;
    }
    const int selected = SelectionIndex();
    SelectNone();
    OuterGroup = std::move(loaded.Circuit);
    RedrawDiagram();
    CommitStep("Schaltung öffnen", selected);
}

void TCircuitCalculationForm::SaveFileButtonClick() {
    const std::optional<TFileChoice> choice = UserDialogs().GetSaveFileName(
        "Schaltung speichern", CircuitFilter, CircuitDefaultExt, false);
    if (!choice) return;
    const TCircuitSaveResult saved = SaveCircuitToFile(*OuterGroup, choice->FileName);
    if (!saved.Ok) UserDialogs().ShowError(saved.Error);
}

// The same export as the plane's, but the selection stays: its rectangle is part of the
// picture.
void TCircuitCalculationForm::SaveAsBitmapButtonClick() {
    TPictureExportHooks hooks;
    hooks.Redraw = [this] { PaintDiagram(Diagram()); };
    SavePictureAs(Diagram(), hooks);
    PaintBox->update();
}

// The analysis window reads this window's circuit and clears AnalysisForm when it goes: it goes
// first, while this window is still whole (not from QWidget's destructor, after ours).
TCircuitCalculationForm::~TCircuitCalculationForm() {
    delete AnalysisForm;
}

void TCircuitCalculationForm::AnalysisButtonClick() {
    if (AnalysisForm == nullptr) {
        TAnalysisLinks links;
        links.Circuit = [this] { return OuterGroup.get(); };
        links.Selected = [this] { return SelectedElement; };
        links.Supply = [this] { return Supply; };
        links.Frequency = [this] {
            return static_cast<double>(static_cast<long double>(Supply.Omega) / TwoPiL);
        };
        links.SetFrequency = [this](double f) {
            ACFrequencyEdit->setText(FromCp1252(FormatFloatEng("0.000000", f)));
        };
        links.Phasors = &Phasors;
        links.PhasorsChanged = PhasorsChanged;
        AnalysisForm = new TCircuitAnalysisForm(std::move(links), this);
        AnalysisForm->setAttribute(Qt::WA_DeleteOnClose);
        connect(AnalysisForm, &QObject::destroyed, this, [this] { AnalysisForm = nullptr; });
    }
    if (!AnalysisForm->isVisible()) {
        AnalysisForm->show();
        return;
    }
    AnalysisForm->raise();
    AnalysisForm->activateWindow();
}

void TCircuitCalculationForm::ACFrequencyEditChange() {
    const double frequency = StrToFloatEng(ToCp1252(ACFrequencyEdit->text()));
    if (std::isnan(frequency)) {
        MarkEdit(ACFrequencyEdit, true);
        return;
    }
    MarkEdit(ACFrequencyEdit, false);
    Supply.Omega = FrequencyToOmega(frequency);
    if (Supply.Omega == 0.0) {
        UserDialogs().ShowWarning(ZeroFrequencyText);
        Supply.Omega = FrequencyToOmega(50.0);
    }
    RedrawDiagram();
}

void TCircuitCalculationForm::SupplyVoltageChange() {
    Supply.SupplyVoltage = ComplexEditorFrame3->GetValue();
    RedrawDiagram();
}

}  // namespace zeigora
