// The program's windows as start-up makes them, for one test: the main window shown and
// active, the About dialog hidden. Destroyed (with both windows) at the end of the test.
#pragma once

#include "About.h"
#include "SDIMain.h"

#include <QTest>
#include <gtest/gtest.h>

#include <memory>

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

    TSDIAppForm *form = nullptr;

private:
    std::unique_ptr<ProgramWindows> windows_;
};
