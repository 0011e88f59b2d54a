// A shown main window under scripted dialogs, with the modal windows replaced by recorders.
#pragma once

#include <QAction>
#include <QComboBox>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/scripteddialogs_support.h"
#include "mainwindow/mainform.h"

namespace zeigora {

class MainFormTest : public TScriptedDialogsTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    QAction* Action(const char* name) const;
    QComboBox* Combo(const char* name) const;
    // Replaces the combo's text as the user types it.
    void TypeInto(const char* combo, const std::string& text);
    // Runs the repaint cycle now, so the mapping and the segments are those of the current list.
    void Frame();
    std::vector<std::string> Names() const;
    bool PhasorCommandsEnabled() const;
    bool IsRed(const char* combo) const;
    std::string ComboText(const char* combo) const;

    std::unique_ptr<TMainForm> Form;
    std::vector<int> PhasorDialogCalls;  // the index each properties dialog was opened for
};

}  // namespace zeigora
