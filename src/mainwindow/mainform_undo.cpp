// "Rückgängig" and "Wiederherstellen" of the main window: the history of the phasor list, one
// step per command that changed it.
#include <QAction>
#include <QTimer>
#include <cstring>
#include <deque>
#include <new>

#include "dialogs/historykeys.h"
#include "history/documentchunks.h"
#include "mainwindow/mainform.h"
#include "mainwindow/phasorcombo.h"
#include "phasors/phasorfile.h"

namespace zeigora {

namespace {

constexpr char UndoText[] = "Rückgängig";
constexpr char RedoText[] = "Wiederherstellen";
// Roots mode (1 byte, 3 bytes padding) and the root degree (32 bits) lead every state: undoing
// the mode's switch gives back the mode with the list.
constexpr std::size_t ModePieceSize = 8;

void ShowHistoryStep(QAction* item, QAction* button, const char* command, bool enabled,
                     const std::string& caption) {
    QString text = QString::fromUtf8(command);
    if (!caption.empty()) text += QStringLiteral(": ") + QString::fromUtf8(caption);
    for (QAction* action : {item, button}) {
        action->setEnabled(enabled);
        action->setText(text);
        action->setToolTip(text);
    }
}

}  // namespace

void TMainForm::CreateUndoActions() {
    Undo = NewAction("Undo", "", &TMainForm::UndoClick, QKeySequence(Qt::CTRL | Qt::Key_Z));
    Redo = NewAction("Redo", "", &TMainForm::RedoClick);
    Redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
}

std::string TMainForm::HistoryModePiece() const {
    std::string piece(ModePieceSize, '\0');
    piece[0] = View.Settings.RootsMode ? 1 : 0;
    std::memcpy(piece.data() + 4, &RootDegree, sizeof RootDegree);
    return piece;
}

// States are kept as the recalculation leaves the list, so that a state compares equal to the
// list whatever repaints came between, and comes back as it was shown.
void TMainForm::StartHistory() {
    GiveHistoryKeysToWindow(*this);
    RestartHistory();
}

void TMainForm::RestartHistory() {
    RecalculateIfDue();
    const std::string mode = HistoryModePiece();
    std::deque<TPhasor> cleaned;
    UndoHistory.Reset(PhasorStatePieces(mode, Phasors, cleaned), SelectedIndex_);
    UpdateUndoActions();
}

void TMainForm::CommitStep(const char* caption, int selectionBefore) noexcept {
    if (!UndoHistory.Started()) return;
    try {
        // Commit records nothing when the list is the current state.
        RecalculateIfDue();
        const std::string mode = HistoryModePiece();
        std::deque<TPhasor> cleaned;
        UndoHistory.Commit(PhasorStatePieces(mode, Phasors, cleaned), caption, selectionBefore,
                           SelectedIndex_);
    } catch (const std::bad_alloc&) {
        // Better no undo than one that skips this change.
        UndoHistory.Clear();
    }
    UpdateUndoActions();
}

void TMainForm::UpdateUndoActions() {
    ShowHistoryStep(Undo, UndoButton, UndoText, UndoHistory.CanUndo(), UndoHistory.UndoCaption());
    ShowHistoryStep(Redo, RedoButton, RedoText, UndoHistory.CanRedo(), UndoHistory.RedoCaption());
}

// The clock's ticks are no steps: going back or forward stops it, and the list it left is
// replaced like any other.
void TMainForm::StopClockForHistory() {
    Timer1->stop();
    HiddenClockButton->setChecked(false);
}

void TMainForm::UndoClick() {
    if (!UndoHistory.CanUndo()) return;
    StopClockForHistory();
    RestoreStep(UndoHistory.Undo(SelectedIndex_));
}

void TMainForm::RedoClick() {
    if (!UndoHistory.CanRedo()) return;
    StopClockForHistory();
    RestoreStep(UndoHistory.Redo(SelectedIndex_));
}

void TMainForm::RestoreStep(const TRestoredState& state) {
    Dragging = false;
    DragMoved = false;
    if (state.Bytes.size() >= ModePieceSize) {
        const std::string_view bytes(state.Bytes);
        View.Settings.RootsMode = bytes[0] != 0;
        Active->setChecked(View.Settings.RootsMode);
        std::memcpy(&RootDegree, bytes.data() + 4, sizeof RootDegree);
        ChangeNumber->setText(QString::fromUtf8("Grad ändern... (%1)").arg(RootDegree));
        LoadPhasorsFromBytes(EditPhasors(), bytes.substr(ModePieceSize));
    }
    FillPhasorComboBox();
    const bool exists = state.Selection >= 0 && state.Selection < static_cast<int>(Phasors.size());
    SelectPhasor(exists ? &Phasors[static_cast<std::size_t>(state.Selection)] : nullptr);
    InvalidatePlane();
    UpdateUndoActions();
}

}  // namespace zeigora
