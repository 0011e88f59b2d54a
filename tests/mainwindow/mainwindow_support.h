#pragma once
// The main window shown under scripted dialogs, the questions it asks and the commands and mouse
// events the main window tests give it.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>
#include <string>

#include "dialogs/paintboxwidget.h"
#include "dialogs/phasprop.h"
#include "dialogs/scripteddialogs_support.h"
#include "mainwindow/mainform.h"
#include "phasors/phasorfile.h"
#include "platform/cp1252.h"
#include "support/filebytes.h"
#include "support/modaldialog.h"

namespace zeigora::test {

inline const char OpenQuestion[] =
    "Warnung: alle Zeiger werden gel\xF6scht, wenn Sie Zeiger aus einer Datei laden. "
    "Fortfahren?";
inline const char DeleteQuestion[] = "Sind Sie sicher, dass Sie diesen Zeiger l\xF6schen wollen?";
inline const char DeleteAllQuestion[] = "Sind Sie sicher, dass Sie alle Zeiger l\xF6schen wollen?";
inline const char RootsQuestion[] =
    "Warnung: diese Funktion berechnet die L\xF6sungen der n.ten Wurzel einer einzigen "
    "komplexen Zahl. Es werden daher alle Zeiger ausgenommen des ersten gel\xF6scht. "
    "Fortfahren?";
inline const char RootsRefusal[] =
    "Diese Funktion ist bei der Darstellung mehrerer L\xF6sungen nicht verf\xFCgbar.";
inline const char DegreePrompt[] = "Bitte geben Sie eine Zahl zwischen 2 und 16 ein";
// "Rückgängig" in UTF-8, as Qt gives captions back.
inline const std::string UndoCaption =
    "R\xC3\xBC"
    "ckg\xC3\xA4ngig";

// The main window with its two start phasors, shown and active.
class TMainWindowTest : public TScriptedDialogsTest {
  protected:
    void SetUp() override {
        TScriptedDialogsTest::SetUp();
        Form = std::make_unique<TMainForm>();
        Form->show();
        QApplication::setActiveWindow(Form.get());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
    }
    void TearDown() override {
        Form.reset();
        TScriptedDialogsTest::TearDown();
    }

    template <class T = QAction>
    T* Child(const char* name) const {
        auto* child = Form->findChild<T*>(name);
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    QAction* Action(const char* name) const { return Child<QAction>(name); }
    QComboBox* Combo(const char* name) const { return Child<QComboBox>(name); }
    std::string InFolder(const char* name) const {
        return QDir(Folder.path()).filePath(name).toStdString();
    }
    void Send(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPoint at) {
        QMouseEvent event(type, at, Form->PaintBox1->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(Form->PaintBox1, &event);
    }
    // Runs the repaint cycle now, so the mapping and the segments are those of the current list.
    void Frame() { Form->PaintBox1->repaint(); }

    std::unique_ptr<TMainForm> Form;
    QTemporaryDir Folder;
};

}  // namespace zeigora::test
