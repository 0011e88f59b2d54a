#include "dialogs/editfram.h"

#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>
#include <string>

#include "complex/cp1252text.h"
#include "complex/numtext.h"
#include "dialogs/formwidgets.h"
#include "platform/cp1252.h"

namespace zeigora {

namespace {

constexpr int FrameWidth = 329;
constexpr int FrameHeight = 151;
const QColor ValidColor(255, 255, 255);
const QColor InvalidColor(255, 0, 0);
const QColor HeadingColor(0, 0, 128);
const QColor SummaryColor(0, 0, 255);
constexpr auto& InvalidText = "Ungültig"_cp;
constexpr char ConjugateHint[] = "Konjugiert komplex";

QPushButton* MakeConjButton(QWidget* parent, const char* name, QRect geometry) {
    auto* button = MakeChild<QPushButton>(parent, name, geometry, QStringLiteral("*"));
    button->setToolTip(FromCp1252(ConjugateHint));
    return button;
}

QRadioButton* MakeRadio(QWidget* parent, const char* name, QRect geometry) {
    return MakeChild<QRadioButton>(parent, name, geometry, QString::fromLatin1(name));
}

void SetTextColor(QLabel* label, const QColor& color) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}

void MarkEdit(QLineEdit* edit, bool invalid) {
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, invalid ? InvalidColor : ValidColor);
    edit->setPalette(palette);
}

double EditNumber(const QLineEdit* edit) {
    return StrToFloatEng(ToCp1252(edit->text()));
}

// Only real moves of the focus count as leaving: a window losing activation or a context menu
// opening on the edit leaves the user still in the field.
bool IsLeaving(const QFocusEvent* event) {
    const Qt::FocusReason reason = event->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

// The rectangular summary, built from the texts the edits show.
std::string ComponentsText(const std::string& re, const std::string& im, double imValue) {
    if (im == "0") return re;
    if (imValue < 0) {
        // "INF" has no sign of its own to drop.
        const std::string magnitude = im.starts_with('-') ? im.substr(1) : im;
        return re + " - " + magnitude + "j";
    }
    return re + " + " + im + "j";
}

double RadiansToDegrees(double phase) {
    return double(phase * 360.0L / TwoPiL);
}
double DegreesToRadians(double degrees) {
    return double(degrees / 360.0L * TwoPiL);
}

}  // namespace

bool IsMarkedInvalid(const QLineEdit& edit) {
    return edit.palette().color(QPalette::Base) == InvalidColor;
}

TComplexEditorFrame::TComplexEditorFrame(QWidget* parent) : QFrame(parent), Value(ComplexZero) {
    setObjectName(QStringLiteral("ComplexEditorFrame"));
    setFont(QFont(QStringLiteral("Verdana"), 8));
    setFixedSize(FrameWidth, FrameHeight);
    CreateControls();
    ArrangeTabOrder();
    ConnectEvents();
}

void TComplexEditorFrame::CreateControls() {
    Zeigereigenschaften = new QGroupBox(QStringLiteral("Zeigereigenschaften"), this);
    Zeigereigenschaften->setObjectName(QStringLiteral("Zeigereigenschaften"));
    Zeigereigenschaften->setGeometry(0, 0, FrameWidth, FrameHeight);
    QGroupBox* box = Zeigereigenschaften;
    Label1 = MakeLabel(box, "Label1", "Real:", {8, 18, 120, 14});
    RealEdit = MakeEdit(box, "RealEdit", {8, 33, 121, 21});
    Label2 = MakeLabel(box, "Label2", "Imaginär:"_cp, {136, 18, 120, 14});
    ImgEdit = MakeEdit(box, "ImgEdit", {136, 33, 121, 21});
    ConjButton1 = MakeConjButton(box, "ConjButton1", {264, 33, 25, 21});
    Label3 = MakeLabel(box, "Label3", "Betrag:", {8, 58, 120, 14});
    AbsEdit = MakeEdit(box, "AbsEdit", {8, 73, 121, 21});
    Label4 = MakeLabel(box, "Label4", "Phase:", {136, 58, 120, 14});
    PhasEdit = MakeEdit(box, "PhasEdit", {136, 73, 121, 21});
    ConjButton2 = MakeConjButton(box, "ConjButton2", {264, 73, 25, 21});
    rad = MakeRadio(box, "rad", {136, 97, 50, 17});
    Grad = MakeRadio(box, "Grad", {192, 97, 60, 17});
    Grad->setChecked(true);
    KeepTabOnCheckedUnit();
    Label7 = MakeLabel(box, "Label7", "Komponenten:", {8, 114, 150, 14});
    CompForm = MakeLabel(box, "CompForm", "", {8, 129, 155, 14});
    Label8 = MakeLabel(box, "Label8", "Polar:", {168, 114, 150, 14});
    PolarForm = MakeLabel(box, "PolarForm", "", {168, 129, 155, 14});
    SetTextColor(Label7, HeadingColor);
    SetTextColor(Label8, HeadingColor);
    SetTextColor(CompForm, SummaryColor);
    SetTextColor(PolarForm, SummaryColor);
    for (QLineEdit* edit : {RealEdit, ImgEdit, AbsEdit, PhasEdit})
        MarkEdit(edit, false);
}

void TComplexEditorFrame::ArrangeTabOrder() {
    QWidget* const order[] = {RealEdit, ImgEdit,     ConjButton1, AbsEdit,
                              PhasEdit, ConjButton2, rad,         Grad};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void TComplexEditorFrame::ConnectEvents() {
    for (QLineEdit* edit : {RealEdit, ImgEdit, AbsEdit, PhasEdit}) {
        // textChanged also fires when the program writes the text, which the colours rely on.
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { EditChange(edit); });
        edit->installEventFilter(this);
    }
    // Enter takes the number over as leaving does, before a dialog's default button acts.
    connect(RealEdit, &QLineEdit::returnPressed, this, [this] { RealEditExit(); });
    connect(ImgEdit, &QLineEdit::returnPressed, this, [this] { ImgEditExit(); });
    connect(AbsEdit, &QLineEdit::returnPressed, this, [this] { AbsEditExit(); });
    connect(PhasEdit, &QLineEdit::returnPressed, this, [this] { PhasEditExit(); });
    connect(Grad, &QRadioButton::toggled, this, [this] { GradClick(); });
    connect(ConjButton1, &QPushButton::clicked, this, [this] { ConjButton1Click(); });
    connect(ConjButton2, &QPushButton::clicked, this, [this] { ConjButton1Click(); });
}

bool TComplexEditorFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && IsLeaving(static_cast<QFocusEvent*>(event))) {
        if (watched == RealEdit) RealEditExit();
        if (watched == ImgEdit) ImgEditExit();
        if (watched == AbsEdit) AbsEditExit();
        if (watched == PhasEdit) PhasEditExit();
    }
    return QFrame::eventFilter(watched, event);
}

void TComplexEditorFrame::InitValue() {
    SetValue(MakeComplex(1.0, 2.0));
}

void TComplexEditorFrame::SetValue(const TComplex& v) {
    Value = v;
    ShowValue();
}

void TComplexEditorFrame::SetReadOnly(bool flag) {
    for (QLineEdit* edit : {RealEdit, ImgEdit, AbsEdit, PhasEdit})
        edit->setReadOnly(flag);
    ConjButton1->setEnabled(!flag);
    ConjButton2->setEnabled(!flag);
}

void TComplexEditorFrame::SetChangeHandler(std::function<void()> handler) {
    ChangeHandler = std::move(handler);
}

void TComplexEditorFrame::ShowValue() {
    RealEdit->setText(FromCp1252(FormatFloatEng("0.000", Value.Re)));
    ImgEdit->setText(FromCp1252(FormatFloatEng("0.000", Value.Im)));
    AbsEdit->setText(FromCp1252(FormatFloatEng("0.000000", Value.Abs)));
    PhasEdit->setText(FromCp1252(Grad->isChecked()
                                     ? FormatFloatEng("0.0", RadiansToDegrees(Value.Phase))
                                     : FormatFloatEng("0.00", Value.Phase)));
    for (QLineEdit* edit : {RealEdit, ImgEdit, AbsEdit, PhasEdit})
        edit->setModified(false);
    ShowSummaries();
}

void TComplexEditorFrame::ShowSummaries() {
    // Without a valid imaginary part the sign, and with it both summaries, are undecided.
    if (std::isnan(Value.Im)) {
        CompForm->setText(FromCp1252(InvalidText));
        PolarForm->setText(FromCp1252(InvalidText));
        return;
    }
    const std::string re = ToCp1252(RealEdit->text());
    const std::string im = ToCp1252(ImgEdit->text());
    CompForm->setText(FromCp1252(ComponentsText(re, im, Value.Im)));
    std::string polar = ToCp1252(AbsEdit->text()) + " e^ j" + ToCp1252(PhasEdit->text());
    if (Grad->isChecked()) polar += "°"_cp;
    PolarForm->setText(FromCp1252(polar));
}

void TComplexEditorFrame::EditChange(QLineEdit* edit) {
    if (ChangeHandler) {
        ChangeHandler();
        return;
    }
    MarkEdit(edit, std::isnan(EditNumber(edit)));
}

// Only text the user changed since the program last wrote it is taken over: the displayed text
// is rounded, and reading it back would make the value drift each time the field is passed.
void TComplexEditorFrame::LeaveEdit(QLineEdit* edit) {
    if (edit->isReadOnly() || !edit->isModified()) return;
    double x = EditNumber(edit);
    if (edit == RealEdit) SetRe(Value, x);
    if (edit == ImgEdit) SetIm(Value, x);
    if (edit == AbsEdit) SetAbs(Value, x);
    if (edit == PhasEdit) {
        if (Grad->isChecked()) x = DegreesToRadians(x);
        SetPhase(Value, x);
    }
    ShowValue();
    MarkEdit(edit, std::isnan(Value.Im));
}

void TComplexEditorFrame::RealEditExit() {
    LeaveEdit(RealEdit);
}
void TComplexEditorFrame::ImgEditExit() {
    LeaveEdit(ImgEdit);
}
void TComplexEditorFrame::AbsEditExit() {
    LeaveEdit(AbsEdit);
}
void TComplexEditorFrame::PhasEditExit() {
    LeaveEdit(PhasEdit);
}

void TComplexEditorFrame::GradClick() {
    KeepTabOnCheckedUnit();
    ShowValue();
}

// Tab reaches the pair of unit buttons on the checked one only; the arrow keys switch.
void TComplexEditorFrame::KeepTabOnCheckedUnit() {
    for (QRadioButton* unit : {rad, Grad})
        unit->setFocusPolicy(unit->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

void TComplexEditorFrame::ConjButton1Click() {
    ConjugateInPlace(Value);
    ShowValue();
}

}  // namespace zeigora
