// The event log the end-to-end test reads: off unless asked for, one line per handled event
// with the handler, the control, its duration, its depth and the captions, and a line at the
// window's first paint.
#include "EventLog.h"
#include "TestStudy.h"
#include "WindowFixture.h"

#include <QFile>
#include <QScrollBar>
#include <QSignalSpy>

#include <fstream>

namespace {

// The lines of a log file, each split at its tabs.
std::vector<QStringList> readLog(const std::string &path)
{
    QFile file(QString::fromStdString(path));
    std::vector<QStringList> lines;
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    for (const QByteArray &line : file.readAll().split('\n'))
        if (!line.isEmpty())
            lines.push_back(QString::fromUtf8(line).split(QLatin1Char('\t')));
    return lines;
}

struct StopLog {
    ~StopLog() { EventLog::Stop(); }
};

// A study whose largest count is 1000 at one pixel, so Label1 reads "1000" once it is open.
std::string writeStudy(const TempDir &dir)
{
    WriteTestStudy(dir.file("P"), [](int phase, int slice, int column, int row) {
        return int16_t(phase == 7 && slice == 9 && column == 30 && row == 30 ? 1000 : 10);
    });
    return dir.file("P.d01");
}

class EventLogTest : public WindowTest {
protected:
    TempDir dir;
    std::string log = dir.file("events.log");
    StopLog stop;
};

TEST_F(EventLogTest, OffUnlessStarted)
{
    qunsetenv("CORVISTA_EVENT_LOG");
    EXPECT_FALSE(EventLog::StartFromEnvironment(*form));
    EXPECT_FALSE(EventLog::Active());
    qputenv("CORVISTA_EVENT_LOG", "");
    EXPECT_FALSE(EventLog::StartFromEnvironment(*form));
    form->K1->trigger();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(log)));
    qunsetenv("CORVISTA_EVENT_LOG");
}

TEST_F(EventLogTest, OneLinePerHandledEventWithTheCaptions)
{
    ASSERT_TRUE(form->OpenStudy(QString::fromStdString(writeStudy(dir))));
    qputenv("CORVISTA_EVENT_LOG", QByteArray::fromStdString(log));
    ASSERT_TRUE(EventLog::StartFromEnvironment(*form));
    qunsetenv("CORVISTA_EVENT_LOG");

    form->K1->trigger();                                                   // a menu item
    QTest::mouseClick(find<QWidget>("RadioButton34"), Qt::LeftButton);     // a radio button
    form->ScrollBarA->triggerAction(QAbstractSlider::SliderSingleStepAdd); // a bar, 40 -> 41
    QTest::mouseClick(form->Image3, Qt::LeftButton, {}, QPoint(10, 20));   // an image

    const std::vector<QStringList> lines = readLog(log);
    ASSERT_EQ(lines.size(), 4u);
    struct Expected {
        const char *handler, *control, *labelA;
    } expected[] = {
        {"K1Click", "K1", "40%"},
        {"OnPHClick", "RadioButton34", "40%"},
        {"ScrollBarAChange", "ScrollBarA", "41"},
        {"OnImage3MouseDpwn", "Image3", "41"},
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const QStringList &f = lines[i];
        ASSERT_EQ(f.size(), 12) << f.join(QLatin1Char('|')).toStdString();
        bool number = false;
        EXPECT_GT(f[0].toLongLong(&number), 1'600'000'000'000'000LL) << "microseconds since 1970";
        EXPECT_TRUE(number);
        EXPECT_EQ(f[1], expected[i].handler);
        EXPECT_EQ(f[2], expected[i].control);
        EXPECT_GE(f[3].toLongLong(&number), 0);
        EXPECT_TRUE(number);
        EXPECT_EQ(f[4], "0") << "run straight from the event loop";
        EXPECT_EQ(f[5], "Label1=1000");
        EXPECT_EQ(f[7], QStringLiteral("LabelA=") + expected[i].labelA);
        EXPECT_EQ(f[8], "LabelW=20%");
        EXPECT_EQ(f[9], "Label3=0");
        EXPECT_EQ(f[10], "Label6=On");
        EXPECT_TRUE(f[11].startsWith("StatusBar=")) << f[11].toStdString();
    }
    // Appended: a second start adds to what is there.
    EventLog::Stop();
    ASSERT_TRUE(EventLog::Start(*form, QString::fromStdString(log)));
    form->K2->trigger();
    ASSERT_EQ(readLog(log).size(), 5u);
    EXPECT_EQ(readLog(log).back()[1], "K2Click");
}

TEST_F(EventLogTest, TheLoadAndTheSaveAreTimedApartFromTheirDialogs)
{
    ASSERT_TRUE(EventLog::Start(*form, QString::fromStdString(log)));
    const std::string study = writeStudy(dir);
    openThroughDialog(study);
    const std::vector<QStringList> lines = readLog(log);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0][1], "OpenStudy");
    EXPECT_EQ(lines[0][4], "1") << "inside OpenItemClick";
    EXPECT_EQ(lines[0][11], QString::fromStdString("StatusBar=" + study));
    EXPECT_EQ(lines[1][1], "OpenItemClick");
    EXPECT_GE(lines[1][3].toLongLong(), lines[0][3].toLongLong());
    ASSERT_TRUE(form->SaveResults(QString::fromStdString(dir.file("r.csv"))));
    EXPECT_EQ(readLog(log).back()[1], "SaveResults");
    EXPECT_EQ(readLog(log).back()[4], "0");
}

TEST_F(EventLogTest, AFileThatCannotBeOpenedLeavesTheLogOff)
{
    EXPECT_FALSE(EventLog::Start(*form, QString::fromStdString(dir.path()))); // a folder
    EXPECT_FALSE(EventLog::Active());
    form->K1->trigger(); // handlers run as always
    EXPECT_TRUE(form->K1->isChecked());
}

TEST(EventLogStartTest, TheFirstPaintOfTheWindowIsLogged)
{
    TempDir dir;
    StopLog stop;
    ProgramWindows windows;
    ASSERT_TRUE(EventLog::Start(*windows.main, QString::fromStdString(dir.file("events.log"))));
    windows.main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(windows.main.get()));
    QTRY_VERIFY(!readLog(dir.file("events.log")).empty());
    windows.main->repaint();
    QApplication::processEvents();
    const std::vector<QStringList> lines = readLog(dir.file("events.log"));
    ASSERT_EQ(lines.size(), 1u) << "the first paint only";
    EXPECT_EQ(lines[0][1], "Shown");
    EXPECT_EQ(lines[0][5], "Label1=20");
}

} // namespace
