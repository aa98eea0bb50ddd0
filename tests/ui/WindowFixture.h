// The program's windows as start-up makes them, for one test: the main window shown and
// active, the About dialog hidden. Destroyed (with both windows) at the end of the test.
#pragma once

#include "About.h"
#include "SDIMain.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

// Answers the next modal file dialog: types `name` into its file-name box and presses Return,
// or cancels it when `name` is empty. Call it before the command that shows the dialog.
inline void AnswerNextFileDialog(const QString &name)
{
    QTimer::singleShot(0, [name] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr) << "no file dialog is shown";
        if (name.isEmpty()) {
            dialog->reject();
            return;
        }
        auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(edit, nullptr);
        edit->setText(name);
        QTest::keyClick(edit, Qt::Key_Return);
        // A dialog still open a while later (the name was a folder, say) fails the test
        // instead of hanging it.
        QTimer::singleShot(5000, dialog, [dialog] {
            if (dialog->isVisible()) {
                ADD_FAILURE() << "the file dialog did not close";
                dialog->reject();
            }
        });
    });
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        windows_ = std::make_unique<ProgramWindows>();
        form = windows_->main.get();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    }
    void TearDown() override { windows_.reset(); }

    template <class T = QWidget> T *find(const char *name) const
    {
        T *w = form->control<T>(QString::fromUtf8(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    // File > Open through the real dialog, the path typed into it.
    void openThroughDialog(const std::string &path)
    {
        AnswerNextFileDialog(QString::fromStdString(path));
        form->OpenItem->trigger();
    }

    TSDIAppForm *form = nullptr;

private:
    std::unique_ptr<ProgramWindows> windows_;
};
