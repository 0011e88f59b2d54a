#include "dialogs/qtuserdialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

namespace zeigora {
namespace {

TEST(QtUserDialogsTest, SavedNameGetsTheExtensionOfTheChosenFilter) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString typed = folder.filePath(QStringLiteral("Bild"));
    // Acts on the file dialog once it is open; the dialog's own loop runs the timer.
    QTimer::singleShot(0, [typed] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        ASSERT_NE(types, nullptr);
        types->setCurrentIndex(1);
        // What a user's choice in the list emits.
        emit types->activated(1);
        emit types->textActivated(types->itemText(1));
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(typed);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    const auto choice = TQtUserDialogs().GetSaveFileName(
        "", "Bitmaps (*.bmp)|*.bmp|Enhanced Metafiles (*.emf)|*.emf", "*.bmp", true);
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->FilterIndex, 2);
    EXPECT_EQ(choice->FileName, (typed + QStringLiteral(".emf")).toStdString());
}

}  // namespace
}  // namespace zeigora
