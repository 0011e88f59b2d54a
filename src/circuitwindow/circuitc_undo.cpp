// "Rückgängig" and "Wiederherstellen" of the circuit window: the history of the circuit tree,
// one step per change, each state the tree's file bytes with the selection's place in it.
#include <QAction>
#include <QToolBar>
#include <QToolButton>
#include <new>
#include <string_view>

#include "circuit/circuitfile.h"
#include "circuit/circuitquery.h"
#include "circuitwindow/circuitc.h"
#include "dialogs/historykeys.h"
#include "dialogs/icons.h"
#include "history/documentchunks.h"

namespace zeigora {

namespace {

constexpr char UndoText[] = "Rückgängig";
constexpr char RedoText[] = "Wiederherstellen";

QAction* MakeHistoryAction(QWidget* window, const char* name, const char* icon) {
    auto* action = new QAction(ZeigoraIcon(icon), QString(), window);
    action->setObjectName(QString::fromLatin1(name));
    // The window's keys, not the line edits' own undo of their text.
    action->setShortcutContext(Qt::WindowShortcut);
    window->addAction(action);
    return action;
}

QToolButton* MakeHistoryButton(QToolBar* bar, const char* name, QAction* action) {
    auto* button = new QToolButton(bar);
    button->setObjectName(QString::fromLatin1(name));
    button->setDefaultAction(action);
    button->setAutoRaise(true);
    bar->addWidget(button);
    return button;
}

void ShowHistoryStep(QAction* action, const char* command, bool enabled,
                     const std::string& caption) {
    QString text = QString::fromUtf8(command);
    if (!caption.empty()) text += QStringLiteral(": ") + QString::fromUtf8(caption);
    action->setEnabled(enabled);
    action->setText(text);
    action->setToolTip(text);
}

std::string TreeBytes(const TCircuitElementGroup& root) {
    TByteStream stream;
    SaveToStream(root, stream);
    return {stream.begin(), stream.end()};
}

}  // namespace

void TCircuitCalculationForm::CreateUndoButtons() {
    UndoAction = MakeHistoryAction(this, "UndoAction", "edit-undo");
    UndoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    RedoAction = MakeHistoryAction(this, "RedoAction", "edit-redo");
    RedoAction->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(UndoAction, &QAction::triggered, this, [this] { UndoClick(); });
    connect(RedoAction, &QAction::triggered, this, [this] { RedoClick(); });
    ToolBar1->addSeparator();
    UndoButton = MakeHistoryButton(ToolBar1, "UndoButton", UndoAction);
    RedoButton = MakeHistoryButton(ToolBar1, "RedoButton", RedoAction);
}

int TCircuitCalculationForm::SelectionIndex() const {
    if (SelectedElement == nullptr) return -1;
    const std::vector<TCircuitNode> nodes = FlattenCircuit(*OuterGroup);
    for (std::size_t i = 0; i < nodes.size(); ++i)
        if (nodes[i].Element == SelectedElement) return static_cast<int>(i);
    return -1;
}

void TCircuitCalculationForm::StartHistory() {
    GiveHistoryKeysToWindow(*this);
    ResetHistory();
}

void TCircuitCalculationForm::ResetHistory() {
    const std::string bytes = TreeBytes(*OuterGroup);
    UndoHistory.Reset(CircuitStatePieces(bytes), SelectionIndex());
    UpdateUndoButtons();
}

void TCircuitCalculationForm::CommitStep(const char* caption, int selectionBefore,
                                         int field) noexcept {
    if (!UndoHistory.Started()) return;
    // Typing goes on in one step only in the same field of the same element.
    const std::uint64_t mergeKey = field == 0
                                       ? 0
                                       : (static_cast<std::uint64_t>(field) << 32) |
                                             static_cast<std::uint32_t>(SelectionIndex() + 1);
    try {
        const std::string bytes = TreeBytes(*OuterGroup);
        UndoHistory.Commit(CircuitStatePieces(bytes), caption, selectionBefore, SelectionIndex(),
                           mergeKey);
    } catch (const std::bad_alloc&) {
        // Better no undo than one that skips this change.
        UndoHistory.Clear();
    }
    UpdateUndoButtons();
}

void TCircuitCalculationForm::UpdateUndoButtons() {
    ShowHistoryStep(UndoAction, UndoText, UndoHistory.CanUndo(), UndoHistory.UndoCaption());
    ShowHistoryStep(RedoAction, RedoText, UndoHistory.CanRedo(), UndoHistory.RedoCaption());
}

void TCircuitCalculationForm::UndoClick() {
    if (UndoHistory.CanUndo()) RestoreStep(UndoHistory.Undo(SelectionIndex()));
}

void TCircuitCalculationForm::RedoClick() {
    if (UndoHistory.CanRedo()) RestoreStep(UndoHistory.Redo(SelectionIndex()));
}

void TCircuitCalculationForm::RestoreStep(const TRestoredState& state) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(state.Bytes.data());
    TCircuitLoadResult loaded = LoadCircuitFromBytes({data, state.Bytes.size()});
    if (loaded.Circuit) {
        SelectedElement = nullptr;
        OuterGroup = std::move(loaded.Circuit);
        const std::vector<TCircuitNode> nodes = FlattenCircuit(*OuterGroup);
        if (state.Selection >= 0 && state.Selection < static_cast<int>(nodes.size()))
            SelectedElement = const_cast<TCustomCircuitElement*>(
                nodes[static_cast<std::size_t>(state.Selection)].Element);
    } else {
        // A tree nested deeper than a file may be does not load again: the history starts anew
        // from the tree shown rather than go on from a state it cannot show.
        ResetHistory();
    }
    SetElementButtons(SelectedElement != nullptr);
    RedrawDiagram();
    UpdateUndoButtons();
}

}  // namespace zeigora
