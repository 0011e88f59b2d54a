#include "circuitwindow/analysisform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>
#include <charconv>
#include <cmath>
#include <sstream>

#include "circuit/circuitquery.h"
#include "circuitwindow/elemprop.h"
#include "complex/cp1252text.h"
#include "complex/numtext.h"
#include "dialogs/paintboxwidget.h"
#include "dialogs/pictureexport.h"
#include "files/filemessage.h"
#include "files/safesave.h"
#include "platform/cp1252.h"
#include "platform/userdialogs.h"

namespace zeigora {

namespace {

constexpr auto& TableFilters =
    "Tabulatorgetrennte Tabelle (*.tsv)|*.tsv|CSV-Tabelle für Tabellenkalkulationen (*.csv)|*.csv"_cp;
constexpr auto& NoResonanceText = "Keine Resonanz im Bereich"_cp;
constexpr auto& WaitText = "Wird berechnet …"_cp;

QString Text(std::string_view cp1252) {
    return FromCp1252(std::string(cp1252));
}

void MarkEdit(QLineEdit* edit, bool invalid) {
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, invalid ? QColor(255, 0, 0) : QColor(255, 255, 255));
    edit->setPalette(palette);
}

const char* ValueUnit(TElementType type) {
    switch (type) {
        case etResistor:
            return "Ohm";
        case etCapacitor:
            return "F";
        default:
            return "H";
    }
}

// Shortest text that reads back to the same double, as zeigora-cli writes numbers.
std::string Exact(double x, bool comma) {
    if (std::isnan(x)) return "nan";
    if (std::isinf(x)) return x > 0 ? "inf" : "-inf";
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, x);
    std::string s(buf, r.ptr);
    if (comma)
        for (char& c : s)
            if (c == '.') c = ',';
    return s;
}

TSweepResult RunInBackground(std::shared_ptr<const TCircuitSweeper> sweeper, double from, double to,
                             int points, bool linear, double current) {
    return RunSweep(*sweeper, from, to, points, linear, current);
}

}  // namespace

TCircuitAnalysisForm::TCircuitAnalysisForm(TAnalysisLinks links, QWidget* parent)
    : QDialog(parent, Qt::Window), Links(std::move(links)) {
    setObjectName(QStringLiteral("CircuitAnalysisForm"));
    setWindowTitle(QStringLiteral("Schaltungsanalyse"));
    setFont(QFont(QStringLiteral("Verdana"), 8));
    Watcher = new QFutureWatcher<TSweepResult>(this);
    CreateControls();
    ConnectEvents();
    resize(820, 700);
    Refresh();
}

TCircuitAnalysisForm::~TCircuitAnalysisForm() {
    // A running sweep works on its own copy and ends by itself; its result is not wanted.
    Watcher->disconnect();
}

void TCircuitAnalysisForm::CreateControls() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    ElementLabel = new QLabel(this);
    ElementLabel->setTextFormat(Qt::PlainText);  // it names the element, which may look like markup
    ElementLabel->setObjectName(QStringLiteral("ElementLabel"));
    layout->addWidget(ElementLabel);

    auto* row = new QHBoxLayout;
    auto label = [this, row](const char* text) {
        auto* l = new QLabel(Text(text), this);
        row->addWidget(l);
        return l;
    };
    label("Größe:"_cp);
    QuantityComboBox = new QComboBox(this);
    QuantityComboBox->setObjectName(QStringLiteral("QuantityComboBox"));
    QuantityComboBox->addItems({QStringLiteral("Impedanz Z"), QStringLiteral("Admittanz Y = 1/Z"),
                                QStringLiteral("Spannung U"), QStringLiteral("Strom I"),
                                QStringLiteral("Leistung S")});
    row->addWidget(QuantityComboBox);
    label("über:"_cp);
    ParameterComboBox = new QComboBox(this);
    ParameterComboBox->setObjectName(QStringLiteral("ParameterComboBox"));
    ParameterComboBox->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    row->addWidget(ParameterComboBox);
    label("von:");
    FromEdit = new QLineEdit(QStringLiteral("10"), this);
    FromEdit->setObjectName(QStringLiteral("FromEdit"));
    FromEdit->setFixedWidth(70);
    row->addWidget(FromEdit);
    label("bis:");
    ToEdit = new QLineEdit(QStringLiteral("100k"), this);
    ToEdit->setObjectName(QStringLiteral("ToEdit"));
    ToEdit->setFixedWidth(70);
    row->addWidget(ToEdit);
    label("Punkte:");
    PointsSpinEdit = new QSpinBox(this);
    PointsSpinEdit->setObjectName(QStringLiteral("PointsSpinEdit"));
    PointsSpinEdit->setRange(2, 100000);
    PointsSpinEdit->setValue(201);
    row->addWidget(PointsSpinEdit);
    LinearCheckBox = new QCheckBox(QStringLiteral("linear"), this);
    LinearCheckBox->setObjectName(QStringLiteral("LinearCheckBox"));
    row->addWidget(LinearCheckBox);
    DecibelCheckBox = new QCheckBox(QStringLiteral("Betrag in dB"), this);
    DecibelCheckBox->setObjectName(QStringLiteral("DecibelCheckBox"));
    row->addWidget(DecibelCheckBox);
    row->addStretch(1);
    layout->addLayout(row);

    Views = new QTabWidget(this);
    Views->setObjectName(QStringLiteral("Views"));
    auto page = [this](const char* name, const char* title) {
        auto* box = new TPaintBoxWidget;
        box->setObjectName(QString::fromLatin1(name));
        box->setMouseTracking(true);
        box->setMinimumSize(320, 240);
        Views->addTab(box, QString::fromLatin1(title));
        return box;
    };
    PhasorBox = page("PhasorBox", "Zeigerdiagramm");
    LocusBox = page("LocusBox", "Ortskurve");
    ResponseBox = page("ResponseBox", "Frequenzgang");
    layout->addWidget(Views, 1);

    ResonanceLabel = new QLabel(this);
    ResonanceLabel->setTextFormat(Qt::PlainText);
    ResonanceLabel->setObjectName(QStringLiteral("ResonanceLabel"));
    ResonanceLabel->setWordWrap(true);
    layout->addWidget(ResonanceLabel);

    auto* buttons = new QHBoxLayout;
    auto button = [this, buttons](const char* name, const char* text) {
        auto* b = new QPushButton(Text(text), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    HandOverButton = button("HandOverButton", "In Zeigerebene übernehmen"_cp);
    SavePictureButton = button("SavePictureButton", "Als Grafik speichern...");
    SaveTableButton = button("SaveTableButton", "Tabelle speichern...");
    buttons->addStretch(1);
    layout->addLayout(buttons);

    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(true);
    layout->addWidget(StatusBar);
}

void TCircuitAnalysisForm::ConnectEvents() {
    const auto sweepAgain = [this] { StartSweep(); };
    connect(QuantityComboBox, &QComboBox::currentIndexChanged, this, [this] {
        Views->currentWidget()->update();
        LocusBox->update();
        ResponseBox->update();
    });
    connect(ParameterComboBox, &QComboBox::activated, this, [this] { ParameterChanged(); });
    connect(FromEdit, &QLineEdit::textChanged, this, sweepAgain);
    connect(ToEdit, &QLineEdit::textChanged, this, sweepAgain);
    connect(PointsSpinEdit, &QSpinBox::valueChanged, this, sweepAgain);
    connect(LinearCheckBox, &QCheckBox::toggled, this, sweepAgain);
    connect(DecibelCheckBox, &QCheckBox::toggled, this, [this] { ResponseBox->update(); });
    connect(Watcher, &QFutureWatcher<TSweepResult>::finished, this, [this] { SweepFinished(); });
    connect(HandOverButton, &QPushButton::clicked, this, [this] { HandOverClick(); });
    connect(SavePictureButton, &QPushButton::clicked, this, [this] { SavePictureClick(); });
    connect(SaveTableButton, &QPushButton::clicked, this, [this] { SaveTableClick(); });
    connect(Views, &QTabWidget::currentChanged, this, [this] { StatusBar->clearMessage(); });
    // The views are plain pictures that take no focus, so the tab widget's own Ctrl+Tab would
    // only work from its tab bar: the window turns the views wherever the focus is.
    const auto turn = [this](int by) {
        Views->setCurrentIndex((Views->currentIndex() + by + Views->count()) % Views->count());
    };
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [turn] { turn(1); });
    for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                                     QKeySequence(Qt::CTRL | Qt::Key_PageUp)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [turn] { turn(-1); });
    for (const TView view : {vwPhasors, vwLocus, vwResponse}) {
        TPaintBoxEx& surface = Box(view)->Surface();
        surface.OnPaint = [this, view](TPaintBoxEx& s) { PaintView(view, s); };
        surface.OnMouseMove = [this, view](TPaintBoxEx&, TShiftState, int x, int y) {
            PointerMoved(view, x, y);
        };
        surface.OnMouseDown = [this, view](TPaintBoxEx&, TMouseButton b, TShiftState, int x,
                                           int y) {
            if (b == TMouseButton::Left) PointerPressed(view, x, y);
        };
    }
}

TPaintBoxWidget* TCircuitAnalysisForm::Box(TView view) const {
    return view == vwPhasors ? PhasorBox : view == vwLocus ? LocusBox : ResponseBox;
}

TSweepQuantity TCircuitAnalysisForm::Quantity() const {
    return static_cast<TSweepQuantity>(std::max(0, QuantityComboBox->currentIndex()));
}

int TCircuitAnalysisForm::Vary() const {
    const QVariant data = ParameterComboBox->currentData();
    return data.isValid() ? data.toInt() : -1;
}

void TCircuitAnalysisForm::Refresh() {
    const TCircuitElementGroup* circuit = Links.Circuit();
    const std::vector<TCircuitNode> nodes = FlattenCircuit(*circuit);
    Labels = ElementLabels(nodes);
    const TCustomCircuitElement* selected = Links.Selected ? Links.Selected() : nullptr;
    Element = 0;
    for (std::size_t k = 0; k < nodes.size(); ++k)
        if (nodes[k].Element == selected) Element = static_cast<int>(k);
    const TCustomCircuitElement& shown = *nodes[static_cast<std::size_t>(Element)].Element;
    ElementText = Labels[static_cast<std::size_t>(Element)];
    std::string kind = ElementTypeName(shown.ElementType());
    if (shown.ElementType() == etGroup)
        kind +=
            static_cast<const TCircuitElementGroup&>(shown).IsParallel ? ", parallel" : ", seriell";
    ElementLabel->setText(Text("Element: " + ElementText + " (" + kind + ")"));
    FillParameters(nodes, Labels);
    Diagram = GroupPhasors(*circuit, Links.Supply(), Element);
    PhasorBox->update();
    StartSweep();
}

void TCircuitAnalysisForm::FillParameters(const std::vector<TCircuitNode>& nodes,
                                          const std::vector<std::string>& labels) {
    std::vector<std::pair<int, std::string>> entries;
    for (std::size_t k = 0; k < nodes.size(); ++k)
        if (nodes[k].Element->ElementType() != etGroup)
            entries.emplace_back(static_cast<int>(k), "Wert von " + labels[k]);
    // Most refreshes change a value, not the parts; a big list is not built again for them.
    if (entries == ParameterEntries) return;
    ParameterEntries = std::move(entries);
    const int keep = Vary();
    const QSignalBlocker blocker(ParameterComboBox);
    ParameterComboBox->clear();
    ParameterComboBox->addItem(QStringLiteral("Frequenz"));
    for (const auto& [index, text] : ParameterEntries) {
        ParameterComboBox->addItem(Text(text), index);
        if (index == keep) ParameterComboBox->setCurrentIndex(ParameterComboBox->count() - 1);
    }
}

void TCircuitAnalysisForm::ParameterChanged() {
    const int vary = Vary();
    const QSignalBlocker fromBlocker(FromEdit), toBlocker(ToEdit);
    if (vary < 0) {
        FromEdit->setText(QStringLiteral("10"));
        ToEdit->setText(QStringLiteral("100k"));
    } else {
        // A hundredth to a hundred times the element's value.
        const auto nodes = FlattenCircuit(*Links.Circuit());
        const double value = nodes[static_cast<std::size_t>(vary)].Element->ElementValue;
        FromEdit->setText(Text(FormatFloatEng("0.000", value / 100)));
        ToEdit->setText(Text(FormatFloatEng("0.000", value * 100)));
    }
    StartSweep();
}

bool TCircuitAnalysisForm::Busy() const {
    return InFlight;
}

void TCircuitAnalysisForm::StartSweep() {
    const double from = StrToFloatEng(ToCp1252(FromEdit->text()));
    const double to = StrToFloatEng(ToCp1252(ToEdit->text()));
    const bool linear = LinearCheckBox->isChecked();
    // A logarithmic range needs two ends of the same sign, none of them 0.
    const bool fromBad = !std::isfinite(from) || (!linear && from == 0.0);
    const bool toBad =
        !std::isfinite(to) || to == from || (!linear && (to == 0.0 || (from > 0.0) != (to > 0.0)));
    MarkEdit(FromEdit, fromBad);
    MarkEdit(ToEdit, toBad);
    if (fromBad || toBad) return;
    if (InFlight) {
        Again = true;
        return;
    }
    Again = false;
    Running =
        std::make_shared<const TCircuitSweeper>(*Links.Circuit(), Links.Supply(), Element, Vary());
    const double current = Vary() < 0
                               ? Links.Frequency()
                               : FlattenCircuit(*Links.Circuit())[static_cast<std::size_t>(Vary())]
                                     .Element->ElementValue;
    InFlight = true;
    Watcher->setFuture(QtConcurrent::run(RunInBackground, Running, from, to,
                                         PointsSpinEdit->value(), linear, current));
}

void TCircuitAnalysisForm::SweepFinished() {
    InFlight = false;
    Result = Watcher->result();
    Sweeper = Running;
    HaveResult = true;
    UpdateResonances();
    LocusBox->update();
    ResponseBox->update();
    if (Again) StartSweep();
}

void TCircuitAnalysisForm::UpdateResonances() {
    if (!Result.Frequency) {
        ResonanceLabel->clear();
        return;
    }
    std::string text;
    for (const TSweepPoint& r : Result.Resonances)
        text += (text.empty() ? "" : ";   ") + ResonanceText(r.X);
    ResonanceLabel->setText(Text(text.empty() ? std::string(NoResonanceText) : text));
}

std::string TCircuitAnalysisForm::XUnit() const {
    const int vary = Vary();
    if (vary < 0) return "Hz";
    return ValueUnit(
        FlattenCircuit(*Links.Circuit())[static_cast<std::size_t>(vary)].Element->ElementType());
}

std::string TCircuitAnalysisForm::Title(TView view) const {
    const std::string q(1, QuantityLetter(Quantity()));
    const int vary = Vary();
    const std::string x = vary < 0 ? "f"
                          : Labels.size() > static_cast<std::size_t>(vary)
                              ? Labels[static_cast<std::size_t>(vary)]
                              : "";
    if (view == vwLocus)
        return "Ortskurve " + q + "(" + x + ") von " + ElementText + " [" +
               QuantityUnit(Quantity()) + "]";
    return "Frequenzgang " + q + "(" + x + ") von " + ElementText;
}

void TCircuitAnalysisForm::PaintView(TView view, TPaintBoxEx& surface) {
    if (view == vwPhasors) {
        RenderPhasorDiagram(surface, Diagram, DiagramView, AntiAliasing);
        return;
    }
    if (!HaveResult) {
        TCanvas& canvas = surface.DrawingCanvas();
        canvas.SetBrushStyle(TBrushStyle::Solid);
        canvas.SetBrushColor(clWhite);
        canvas.SetPenColor(clWhite);
        canvas.Rectangle(0, 0, surface.Width(), surface.Height());
        canvas.SetFontColor(clBlack);
        canvas.TextOut(10, 10, WaitText);
        return;
    }
    TSweepPlotOptions options;
    options.Quantity = Quantity();
    options.Title = Title(view);
    options.XUnit = XUnit();
    options.Decibel = DecibelCheckBox->isChecked();
    options.AntiAliasing = AntiAliasing;
    if (view == vwLocus)
        RenderLocus(surface, Result, options, LocusGeometry);
    else
        RenderFrequencyResponse(surface, Result, options, ResponseGeometry);
}

QString TCircuitAnalysisForm::ReadOut(double x, const TComplex& v) const {
    const std::string unit = QuantityUnit(Quantity());
    const char sign = v.Im < 0 ? '-' : '+';
    const std::string xName = Vary() < 0 ? "f" : "Wert";
    const std::string text = xName + " = " + UnitText(x, XUnit()) + "     " +
                             QuantityLetter(Quantity()) + " = " + FormatFloatEng("0.000", v.Re) +
                             " " + sign + " j" + FormatFloatEng("0.000", std::fabs(v.Im)) + " " +
                             unit + " = " + UnitText(v.Abs, unit);
    return Text(text) + QStringLiteral(" ∠ ") + Text(FormatFloatTrimmed("0.000", PhaseDegrees(v))) +
           QStringLiteral("°");
}

void TCircuitAnalysisForm::PointerMoved(TView view, int x, int y) {
    if (view == vwPhasors || !HaveResult || !Sweeper) return;
    if (view == vwLocus) {
        const int k = NearestLocusPoint(LocusGeometry, x, y, 8.0);
        if (k < 0) {
            StatusBar->clearMessage();
            return;
        }
        const TSweepPoint& p = Result.Points[static_cast<std::size_t>(k)];
        StatusBar->showMessage(ReadOut(p.X, SweepValue(p, Quantity())));
        return;
    }
    const TPlotRect& a = ResponseGeometry.Plot;
    const TPlotRect& b = ResponseGeometry.PhasePlot;
    if (x < a.Left || x > a.Right ||
        !((y >= a.Top && y <= a.Bottom) || (y >= b.Top && y <= b.Bottom))) {
        StatusBar->clearMessage();
        return;
    }
    const double at = ResponseGeometry.X.FromPixel(x);
    StatusBar->showMessage(ReadOut(at, SweepValue(Sweeper->At(at), Quantity())));
}

void TCircuitAnalysisForm::PointerPressed(TView view, int x, int y) {
    if (view == vwPhasors || !HaveResult || !Result.Frequency || !Links.SetFrequency) return;
    double f = NAN;
    if (view == vwLocus) {
        const int k = NearestLocusPoint(LocusGeometry, x, y, 8.0);
        if (k >= 0) f = Result.Points[static_cast<std::size_t>(k)].X;
    } else if (x >= ResponseGeometry.Plot.Left && x <= ResponseGeometry.Plot.Right) {
        f = ResponseGeometry.X.FromPixel(x);
    }
    if (std::isfinite(f) && f != 0.0) Links.SetFrequency(f);
}

void TCircuitAnalysisForm::HandOverClick() {
    if (Links.Phasors == nullptr) return;
    const TPhasorArray added = HandOverPhasors(Diagram, *Links.Phasors);
    Links.Phasors->insert(Links.Phasors->end(), added.begin(), added.end());
    if (Links.PhasorsChanged) Links.PhasorsChanged();
    StatusBar->showMessage(QString::number(added.size()) +
                           Text(" Zeiger in die Zeigerebene übernommen"_cp));
}

void TCircuitAnalysisForm::SavePictureClick() {
    const TView view = static_cast<TView>(Views->currentIndex());
    TPaintBoxWidget* box = Box(view);
    TPictureExportHooks hooks;
    hooks.Redraw = [this, view, box] { PaintView(view, box->Surface()); };
    hooks.AntiAliasing = &AntiAliasing;
    SavePictureAs(box->Surface(), hooks);
    box->update();
}

int TCircuitAnalysisForm::WriteTable(const std::string& fileName, bool csv) const {
    std::ostringstream out;
    const std::string sep = csv ? ";" : "\t";
    out << (Result.Frequency ? "f" : "value") << sep << "re" << sep << "im" << sep << "abs" << sep
        << "phase\n";
    for (const TSweepPoint& p : Result.Points) {
        const TComplex v = SweepValue(p, Quantity());
        out << Exact(p.X, csv) << sep << Exact(v.Re, csv) << sep << Exact(v.Im, csv) << sep
            << Exact(v.Abs, csv) << sep << Exact(v.Phase, csv) << "\n";
    }
    return SaveFileSafely(fileName, out.str());
}

void TCircuitAnalysisForm::SaveTableClick() {
    if (!HaveResult) return;
    const std::optional<TFileChoice> choice =
        UserDialogs().GetSaveFileName("Tabelle speichern", TableFilters, "*.tsv", true);
    if (!choice) return;
    if (const int error = WriteTable(choice->FileName, choice->FilterIndex == 2))
        UserDialogs().ShowError(FileErrorMessage(choice->FileName, SaveFailedText, error));
}

}  // namespace zeigora
