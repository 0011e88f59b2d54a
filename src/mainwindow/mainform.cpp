// The main window's controls: menus, the three tool bars, the drawing surface and the status
// bar, created from a fixed layout.
#include "mainwindow/mainform.h"

#include <QAction>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>
#include <cfenv>
#include <chrono>

#include "complex/cp1252text.h"
#include "complex/numtext.h"
#include "dialogs/gridsets.h"
#include "dialogs/icons.h"
#include "dialogs/paintboxwidget.h"
#include "dialogs/phasprop.h"
#include "mainwindow/phasorcombo.h"
#include "mainwindow/statuspanels.h"
#include "platform/cp1252.h"

namespace zeigora {

namespace {

constexpr int DesignWidth = 608;
constexpr int DesignHeight = 545;
constexpr int StatusPanelWidths[8] = {60, 50, 50, 75, 75, 75, 75, 50};
constexpr const char* StatusPanelTexts[8] = {"600x400",  "X: 0",     "Y: 0",     "Re1: 0,0",
                                             "Im1: 0,0", "Re2: 0,0", "Im2: 0,0", ""};
QString Q(const char* cp1252) {
    return FromCp1252(cp1252);
}

QStringList Numbers(int first, int last) {
    QStringList items;
    for (int i = first; i <= last; ++i)
        items << QString::number(i);
    return items;
}

QStringList ZoomItems() {
    const QString sep(QChar::fromLatin1(DecimalSeparator()));
    return {"0" + sep + "1",
            "0" + sep + "2",
            "0" + sep + "5",
            "1",
            "2",
            "5",
            "10",
            "20",
            "50",
            "100",
            "200",
            "500"};
}

void RunGridSettingsForm(QWidget* owner, TPlaneSettings& settings) {
    TGridSettingsForm form(settings, owner);
    form.exec();
}

}  // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(Q("Lumtrek Zeigora 3.0 Public Alpha"));
    setFont(QFont(QStringLiteral("Verdana"), 8));
    RunPhasorDialog = [this](TPhasorArray& phasors, int index, bool rootsMode) {
        TPhasorPropertiesForm form(phasors, index, rootsMode, this);
        // The status bar and the error list follow the definition being typed.
        form.OnRecalculated = [this](const TRecalcResult& result) { ShowRecalculation(result); };
        form.exec();
    };
    RunGridSettingsDialog = [this](TPlaneSettings& settings) {
        RunGridSettingsForm(this, settings);
    };
    ClockSource = CurrentClockTime;
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TMainForm::Timer1Timer);

    CreateActions();
    CreateMenus();
    CreatePhasorToolBar();
    addToolBarBreak();
    CreateGridToolBar();
    addToolBarBreak();
    CreateZoomToolBar();
    CreateDrawingSurface();
    CreateStatusBar();
    resize(DesignWidth, DesignHeight);
    CenterOnScreen();
    FormCreate();
    StartHistory();
}

// The child widgets outlive the document by a little; nothing may call back into it meanwhile.
TMainForm::~TMainForm() {
    Timer1->stop();
    PaintBox1->OnExit = nullptr;
    PaintBox1->OnResize = nullptr;
    TPaintBoxEx& surface = PaintBox1->Surface();
    surface.OnPaint = nullptr;
    surface.OnMouseDown = nullptr;
    surface.OnMouseMove = nullptr;
    surface.OnMouseUp = nullptr;
    surface.OnDblClick = nullptr;
}

void TMainForm::FormCreate() {
    // Division by zero and invalid operations give infinities and NaN, never a trap.
    std::feclearexcept(FE_ALL_EXCEPT);
#if defined(__GLIBC__)
    fedisableexcept(FE_ALL_EXCEPT);
#endif
    Random.seed(static_cast<std::mt19937::result_type>(
        std::chrono::system_clock::now().time_since_epoch().count()));
    NewFileClick();
}

void TMainForm::CenterOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
}

QAction* TMainForm::NewAction(const char* objectName, const char* text,
                              void (TMainForm::*handler)(), const QKeySequence& shortcut) {
    auto* action = new QAction(Q(text), this);
    action->setObjectName(QString::fromLatin1(objectName));
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    return action;
}

void TMainForm::CreateActions() {
    NewFile = NewAction("NewFile", "Neu", &TMainForm::NewFileClick, Qt::CTRL | Qt::Key_N);
    OpenFile = NewAction("OpenFile", "Öffnen..."_cp, &TMainForm::OpenFileButtonClick,
                         Qt::CTRL | Qt::Key_O);
    SaveFile = NewAction("SaveFile", "Speichern unter...", &TMainForm::SaveFileButtonClick,
                         Qt::CTRL | Qt::Key_S);
    PrintPicture = NewAction("PrintPicture", "Bild drucken...", &TMainForm::PrintPictureClick,
                             Qt::CTRL | Qt::Key_P);
    SaveAsPicture =
        NewAction("SaveAsPicture", "Als Bild speichern...", &TMainForm::SaveAsPictureClick);
    ExitProgram =
        NewAction("ExitProgram", "Beenden", &TMainForm::ExitProgramClick, Qt::ALT | Qt::Key_X);

    Refresh = NewAction("Refresh", "Aktualisieren", &TMainForm::RefreshClick, Qt::Key_F5);
    AntiAliasing = NewAction("AntiAliasing", "Kantenglättung"_cp, &TMainForm::AntiAliasingClick);
    AntiAliasing->setCheckable(true);
    AntiAliasing->setChecked(true);
    SetHeight = NewAction("SetHeight", "Höhe kalibrieren"_cp, &TMainForm::SetHeightButtonClick,
                          Qt::CTRL | Qt::Key_H);
    SetWidth = NewAction("SetWidth", "Weite kalibrieren", &TMainForm::SetWidthButtonClick,
                         Qt::CTRL | Qt::Key_W);
    PhasorSettings2 =
        NewAction("PhasorSettings2", "Zeigereinstellungen", &TMainForm::PhasorSettings2Click);
    ViewSettings2 =
        NewAction("ViewSettings2", "Ansichtseinstellungen", &TMainForm::ViewSettings2Click);
    ZoomSettings2 = NewAction("ZoomSettings2", "Zoomeinstellungen", &TMainForm::ZoomSettings2Click);
    PhasorSettings1 =
        NewAction("PhasorSettings1", "Zeigereinstellungen", &TMainForm::PhasorSettings2Click);
    ViewSettings1 =
        NewAction("ViewSettings1", "Ansichtseinstellungen", &TMainForm::ViewSettings2Click);
    ZoomSettings1 = NewAction("ZoomSettings1", "Zoomeinstellungen", &TMainForm::ZoomSettings2Click);
    for (QAction* item : {PhasorSettings2, ViewSettings2, ZoomSettings2, PhasorSettings1,
                          ViewSettings1, ZoomSettings1}) {
        item->setCheckable(true);
        item->setChecked(true);
    }
    GridSettings = NewAction("GridSettings", "Raster- und Achseneinstellungen...",
                             &TMainForm::GridSettingsButtonClick);

    NewPhasor = NewAction("NewPhasor", "Neu", &TMainForm::NewPhasorClick);
    EditPhasor = NewAction("EditPhasor", "Bearbeiten...", &TMainForm::EditPhasorClick);
    DuplicatePhasor = NewAction("DuplicatePhasor", "Duplizieren", &TMainForm::DuplicatePhasorClick,
                                Qt::CTRL | Qt::Key_D);
    DeletePhasor =
        NewAction("DeletePhasor", "Löschen"_cp, &TMainForm::DeletePhasorClick, Qt::Key_Delete);
    DeleteAllPhasors =
        NewAction("DeleteAllPhasors", "Alle löschen"_cp, &TMainForm::DeleteAllPhasorsClick);

    BetaAddP = NewAction("BetaAddP", "Grafische Addition", &TMainForm::BetaAddPClick);
    BetaAddP->setCheckable(true);
    ScaleablePhasors =
        NewAction("ScaleablePhasors", "Skalierbare Zeiger", &TMainForm::ScaleablePhasorsClick);
    ScaleablePhasors->setCheckable(true);
    ScaleablePhasors->setChecked(true);
    Active = NewAction("Active", "Aktiv", &TMainForm::ActiveClick);
    Active->setCheckable(true);
    ChangeNumber =
        NewAction("ChangeNumber", "Grad ändern... (2)"_cp, &TMainForm::ChangeNumberClick);
    ShowCircle = NewAction("ShowCircle", "Lösungskreis anzeigen"_cp, &TMainForm::ShowCircleClick);
    ShowCircle->setCheckable(true);
    ShowCircle->setChecked(true);
    CircuitCalculation = NewAction("CircuitCalculation", "Schaltungsberechnung...",
                                   &TMainForm::CircuitCalculationClick);
    Help = NewAction("Help", "Hilfe", &TMainForm::HelpClick, Qt::Key_F1);
    Info = NewAction("Info", "Info...", &TMainForm::InfoClick);
    CreateUndoActions();
}

void TMainForm::CreateMenus() {
    QMenu* file = menuBar()->addMenu(Q("Datei"));
    file->addActions({NewFile, OpenFile, SaveFile});
    file->addSeparator();
    file->addActions({PrintPicture, SaveAsPicture});
    file->addSeparator();
    file->addAction(ExitProgram);

    QMenu* view = menuBar()->addMenu(Q("Ansicht"));
    view->addActions({Refresh, AntiAliasing});
    view->addSeparator();
    view->addActions({SetHeight, SetWidth});
    view->addSeparator();
    QMenu* toolBars = view->addMenu(Q("Toolbars"));
    toolBars->addActions({PhasorSettings2, ViewSettings2, ZoomSettings2});
    view->addSeparator();
    view->addAction(GridSettings);

    QMenu* phasors = menuBar()->addMenu(Q("Zeiger"));
    phasors->addActions({NewPhasor, EditPhasor, DuplicatePhasor, DeletePhasor});
    phasors->addSeparator();
    phasors->addAction(DeleteAllPhasors);
    phasors->addSeparator();
    phasors->addActions({Undo, Redo});

    QMenu* extras = menuBar()->addMenu(Q("Extras"));
    extras->addActions({BetaAddP, ScaleablePhasors});
    QMenu* roots = extras->addMenu(Q("Mehrere Lösungen (Wurzel)"_cp));
    roots->addActions({Active, ChangeNumber});
    roots->addSeparator();
    roots->addAction(ShowCircle);
    extras->addSeparator();
    extras->addAction(CircuitCalculation);

    QMenu* help = menuBar()->addMenu(Q("?"));
    help->addAction(Help);
    help->addSeparator();
    help->addAction(Info);
}

QAction* TMainForm::NewToolButton(QToolBar* bar, const char* objectName, const char* icon,
                                  const char* hint, void (TMainForm::*handler)()) {
    QAction* button = NewAction(objectName, hint, handler);
    button->setIcon(ZeigoraIcon(icon));
    button->setToolTip(Q(hint));
    bar->addAction(button);
    return button;
}

QLabel* TMainForm::NewToolLabel(QToolBar* bar, const char* objectName, const char* text) {
    auto* label = new QLabel(bar);
    label->setTextFormat(Qt::PlainText);
    label->setText(Q(text));
    label->setObjectName(QString::fromLatin1(objectName));
    bar->addWidget(label);
    return label;
}

QComboBox* TMainForm::NewToolCombo(QToolBar* bar, const char* objectName, const QStringList& items,
                                   const char* text, int width, void (TMainForm::*handler)()) {
    auto* combo = new QComboBox(bar);
    combo->setObjectName(QString::fromLatin1(objectName));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(items);
    combo->setEditText(Q(text));
    // Typed text is taken as typed: completing "0" to "0,1" would zoom where the user did not.
    combo->setCompleter(nullptr);
    combo->setFixedWidth(width);
    combo->setMaxVisibleItems(12);
    connect(combo, &QComboBox::editTextChanged, this, [this, handler] { (this->*handler)(); });
    combo->installEventFilter(this);
    bar->addWidget(combo);
    return combo;
}

namespace {

QToolBar* NewToolBar(QMainWindow* window, const char* objectName, const char* title) {
    auto* bar = new QToolBar(Q(title), window);
    bar->setObjectName(QString::fromLatin1(objectName));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(16, 16));
    window->addToolBar(Qt::TopToolBarArea, bar);
    return bar;
}

}  // namespace

void TMainForm::CreatePhasorToolBar() {
    QToolBar* bar = PhasorToolBar = NewToolBar(this, "PhasorToolBar", "Zeigereinstellungen");
    NewFileButton =
        NewToolButton(bar, "NewFileButton", "file-new", "Neu", &TMainForm::NewFileClick);
    OpenFileButton = NewToolButton(bar, "OpenFileButton", "file-open", "Öffnen"_cp,
                                   &TMainForm::OpenFileButtonClick);
    SaveFileButton = NewToolButton(bar, "SaveFileButton", "file-save", "Speichern",
                                   &TMainForm::SaveFileButtonClick);
    bar->addSeparator();
    NewPhasorButton = NewToolButton(bar, "NewPhasorButton", "phasor-new", "Neuer Zeiger",
                                    &TMainForm::NewPhasorClick);
    EditPhasorButton = NewToolButton(bar, "EditPhasorButton", "phasor-edit", "Zeiger bearbeiten",
                                     &TMainForm::EditPhasorClick);
    DuplicatePhasorButton = NewToolButton(bar, "DuplicatePhasorButton", "phasor-duplicate",
                                          "Zeiger duplizieren", &TMainForm::DuplicatePhasorClick);
    DeletePhasorButton = NewToolButton(bar, "DeletePhasorButton", "delete", "Löschen"_cp,
                                       &TMainForm::DeletePhasorClick);
    DeleteAllPhasorsButton = NewToolButton(bar, "DeleteAllPhasorsButton", "delete-all",
                                           "Alle löschen"_cp, &TMainForm::DeleteAllPhasorsClick);
    UndoButton = NewToolButton(bar, "UndoButton", "edit-undo", "", &TMainForm::UndoClick);
    RedoButton = NewToolButton(bar, "RedoButton", "edit-redo", "", &TMainForm::RedoClick);
    bar->addSeparator();
    Circle1Button = NewToolButton(bar, "Circle1Button", "circle1", "Einheitskreis (Skala 1)",
                                  &TMainForm::Circle1ButtonClick);
    Circle2Button = NewToolButton(bar, "Circle2Button", "circle2", "Einheitskreis (Skala 2)",
                                  &TMainForm::Circle2ButtonClick);
    Circle1Button->setCheckable(true);
    Circle2Button->setCheckable(true);
    bar->addSeparator();
    RefreshButton = NewToolButton(bar, "RefreshButton", "refresh", "Anzeige aktualisieren",
                                  &TMainForm::RefreshClick);
    bar->addSeparator();
    SelectedPhasorComboBox = new TPhasorComboBox(bar);
    SelectedPhasorComboBox->setObjectName(QStringLiteral("SelectedPhasorComboBox"));
    SelectedPhasorComboBox->setFixedWidth(140);
    connect(SelectedPhasorComboBox, &QComboBox::activated, this,
            &TMainForm::SelectedPhasorComboBoxChange);
    SelectedPhasorComboBox->installEventFilter(this);
    bar->addWidget(SelectedPhasorComboBox);
    bar->addSeparator();
    SaveAsPictureButton = NewToolButton(bar, "SaveAsPictureButton", "save-picture",
                                        "Als Bild speichern", &TMainForm::SaveAsPictureClick);
}

void TMainForm::CreateGridToolBar() {
    QToolBar* bar = GridToolBar = NewToolBar(this, "GridToolBar", "Ansichtseinstellungen");
    RasterButton = NewToolButton(bar, "RasterButton", "grid", "Raster ein-/ausblenden",
                                 &TMainForm::RasterButtonClick);
    RasterButton->setCheckable(true);
    RasterButton->setChecked(true);
    NewToolLabel(bar, "ReIntervalsLabel", " Raster Re: ");
    ReIntervalsComboBox = NewToolCombo(bar, "ReIntervalsComboBox", Numbers(1, 10), "3", 48,
                                       &TMainForm::ReIntervalsComboBoxChange);
    NewToolLabel(bar, "ImIntervalsLabel", " Im: ");
    ImIntervalsComboBox = NewToolCombo(bar, "ImIntervalsComboBox", Numbers(1, 10), "2", 48,
                                       &TMainForm::ImIntervalsComboBoxChange);
    NewToolLabel(bar, "SubIntervalsLabel", " Hilfsraster: ");
    SubIntervalsComboBox =
        NewToolCombo(bar, "SubIntervalsComboBox", QStringList{Q("Kein")} + Numbers(2, 5), "3", 56,
                     &TMainForm::SubIntervalsComboBoxChange);
    bar->addSeparator();
    GridSettingsButton =
        NewToolButton(bar, "GridSettingsButton", "grid-settings", "Raster- und Achseneinstellungen",
                      &TMainForm::GridSettingsButtonClick);
    bar->addSeparator();
    SetHeightButton = NewToolButton(bar, "SetHeightButton", "calibrate-height",
                                    "Höhe kalibrieren"_cp, &TMainForm::SetHeightButtonClick);
    SetWidthButton = NewToolButton(bar, "SetWidthButton", "calibrate-width", "Weite kalibrieren",
                                   &TMainForm::SetWidthButtonClick);
}

void TMainForm::CreateZoomToolBar() {
    QToolBar* bar = ZoomToolBar = NewToolBar(this, "ZoomToolBar", "Zoomeinstellungen");
    NewToolLabel(bar, "Zoom1Label", " Zoom Skala 1: ");
    Zoom1ComboBox =
        NewToolCombo(bar, "Zoom1ComboBox", ZoomItems(), "1", 64, &TMainForm::Zoom1ComboBoxChange);
    ZoomIn1Button = NewToolButton(bar, "ZoomIn1Button", "zoom-in", "Hineinzoomen",
                                  &TMainForm::ZoomIn1ButtonClick);
    ZoomOut1Button = NewToolButton(bar, "ZoomOut1Button", "zoom-out", "Herauszoomen",
                                   &TMainForm::ZoomOut1ButtonClick);
    bar->addSeparator();
    Zoom2Label = NewToolLabel(bar, "Zoom2Label", " Zoom Skala 2: ");
    Zoom2Label->installEventFilter(this);
    Zoom2ComboBox =
        NewToolCombo(bar, "Zoom2ComboBox", ZoomItems(), "1", 64, &TMainForm::Zoom2ComboBoxChange);
    ZoomIn2Button = NewToolButton(bar, "ZoomIn2Button", "zoom-in", "Hineinzoomen",
                                  &TMainForm::ZoomIn2ButtonClick);
    ZoomOut2Button = NewToolButton(bar, "ZoomOut2Button", "zoom-out", "Herauszoomen",
                                   &TMainForm::ZoomOut2ButtonClick);
    HiddenClockButton =
        NewToolButton(bar, "HiddenClockButton", "clock", "", &TMainForm::HiddenClockButtonClick);
    SmoothClockButton = NewToolButton(bar, "SmoothClockButton", "clock-smooth", "",
                                      &TMainForm::SmoothClockButtonClick);
    for (QAction* button : {HiddenClockButton, SmoothClockButton}) {
        button->setCheckable(true);
        button->setVisible(false);
    }
}

void TMainForm::CreateDrawingSurface() {
    auto* client = new QWidget(this);
    auto* layout = new QHBoxLayout(client);
    // The surface is inset by the width a classic window frame takes, so that it is 600 pixels
    // wide in a window of the design width, as the calibration commands expect.
    layout->setContentsMargins(4, 0, 4, 0);
    PaintBox1 = new TPaintBoxWidget(client);
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
    layout->addWidget(PaintBox1);
    setCentralWidget(client);
    TPaintBoxEx& surface = PaintBox1->Surface();
    surface.OnPaint = [this](TPaintBoxEx&) { PaintPlane(); };
    surface.OnMouseDown = [this](TPaintBoxEx&, TMouseButton b, TShiftState s, int x, int y) {
        PaintBox1MouseDown(b, s, x, y);
    };
    surface.OnMouseMove = [this](TPaintBoxEx&, TShiftState s, int x, int y) {
        PaintBox1MouseMove(s, x, y);
    };
    surface.OnMouseUp = [this](TPaintBoxEx&, TMouseButton b, TShiftState s, int x, int y) {
        PaintBox1MouseUp(b, s, x, y);
    };
    surface.OnDblClick = [this](TPaintBoxEx&) { EditPhasorClick(); };
    PaintBox1->OnExit = [this] { PaintBox1Exit(); };
    PaintBox1->OnResize = [this](int w, int h) {
        SetStatusText(0, std::to_string(w) + "x" + std::to_string(h));
    };
}

void TMainForm::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    // The panels reach to the window's right edge; the window is resized by its frame.
    bar->setSizeGripEnabled(false);
    StatusBarPanels = new TStatusPanels(
        std::vector<int>(std::begin(StatusPanelWidths), std::end(StatusPanelWidths)), bar);
    StatusBarPanels->setObjectName(QStringLiteral("StatusPanels"));
    // A little narrower than the window's font, so that the error count's text fits beside the
    // coordinates at the window's start size.
    QFont narrow = font();
    narrow.setStretch(QFont::SemiCondensed);
    StatusBarPanels->setFont(narrow);
    for (int i = 0; i < StatusBarPanels->Count(); ++i) {
        // The start texts of the coordinate panels carry the locale's separator ("Re1: 0,0").
        std::string text = StatusPanelTexts[i];
        std::replace(text.begin(), text.end(), ',', DecimalSeparator());
        QLabel* panel = StatusBarPanels->Panel(i);
        panel->setTextFormat(Qt::PlainText);
        panel->setText(FromCp1252(text));
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        StatusPanels.push_back(panel);
    }
    bar->addWidget(StatusBarPanels, 1);
    ErrorsPopup = new QMenu(this);
    ErrorsPopup->setObjectName(QStringLiteral("ErrorsPopup"));
    bar->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(bar, &QWidget::customContextMenuRequested, this, &TMainForm::ShowErrorsPopup);
}

void TMainForm::SetStatusText(int panel, const std::string& text) {
    if (panel < 0 || panel >= static_cast<int>(StatusPanels.size())) return;
    const QString shown = FromCp1252(text);
    QLabel* label = StatusPanels[static_cast<std::size_t>(panel)];
    if (label->text() == shown) return;
    label->setText(shown);
    StatusBarPanels->Arrange();
}

std::string TMainForm::StatusText(int panel) const {
    if (panel < 0 || panel >= static_cast<int>(StatusPanels.size())) return {};
    return ToCp1252(StatusPanels[static_cast<std::size_t>(panel)]->text());
}

// The error list is built when it is shown: the repaint cycle renews the entries all the time,
// and an open menu must not lose the entry under the pointer.
void TMainForm::ShowErrorsPopup(const QPoint& pos) {
    ErrorsPopup->clear();
    for (const TErrorEntry& entry : Errors) {
        // A '&' of a name is shown, not taken as the entry's access key.
        QAction* item =
            ErrorsPopup->addAction(FromCp1252(entry.Caption).replace(u'&', QStringLiteral("&&")));
        const int index = entry.PhasorIndex;
        connect(item, &QAction::triggered, this, [this, index] { ErrorClick(index); });
    }
    if (!ErrorsPopup->isEmpty()) ErrorsPopup->popup(statusBar()->mapToGlobal(pos));
}

QMenu* TMainForm::createPopupMenu() {
    auto* popup = new QMenu(this);
    popup->addActions({PhasorSettings1, ViewSettings1, ZoomSettings1});
    return popup;
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Zoom2Label && event->type() == QEvent::MouseButtonDblClick) EasterEgg();
    // The wheel over a tool-bar combo zooms as anywhere on the window, instead of stepping it.
    if (event->type() == QEvent::Wheel && qobject_cast<QComboBox*>(watched)) {
        WheelTurned(static_cast<QWheelEvent*>(event)->angleDelta().y());
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

TPaintBoxEx& TMainForm::Surface() {
    return PaintBox1->Surface();
}

}  // namespace zeigora
