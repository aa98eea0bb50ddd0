// The studies a clinic produces that have no proper count range (all zero, all negative, one
// hot pixel at 32767, a largest count of 1 or 2) walked through every view of the window,
// and the sets that cannot be read opened after them. The window must stay up and say
// nothing through the toolkit: any Qt warning fails the test (UBSan catches a division by
// zero, ASan a bad index).
#include "MessageBox.h"
#include "TestStudy.h"
#include "WindowFixture.h"

#include <QFile>

#include <filesystem>

namespace {

std::vector<std::string> &warnings()
{
    static std::vector<std::string> list;
    return list;
}

void recordWarning(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    // The offscreen platform's note about window size hints is about the test platform,
    // not the program.
    if (type != QtDebugMsg && type != QtInfoMsg && !text.contains(QLatin1String("propagateSizeHints")))
        warnings().push_back(text.toStdString());
}

const char *const MapKindButtons[] = {
    "RadioButton36", "RadioButton37", "RadioButton38", "RadioButton39", "RadioButton40",
    "RadioButton42", "RadioButton43", "RadioButton44", "RadioButton45", "RadioButton51",
    "RadioButton52", "RadioButton48", "RadioButton49",
};

class AwkwardStudyWindowTest : public WindowTest {
protected:
    void SetUp() override
    {
        warnings().clear();
        previousHandler_ = qInstallMessageHandler(recordWarning);
        WindowTest::SetUp();
    }
    void TearDown() override
    {
        WindowTest::TearDown();
        qInstallMessageHandler(previousHandler_);
        EXPECT_TRUE(warnings().empty()) << warnings().front();
    }

    void click(const char *name) { QTest::mouseClick(find<QWidget>(name), Qt::LeftButton); }
    // Both ends and a step back on every count or percent bar, with the scroll events the
    // user's dragging gives.
    void moveBars(std::initializer_list<TScrollBar *> bars)
    {
        for (TScrollBar *bar : bars)
            for (auto action : {QAbstractSlider::SliderToMaximum, QAbstractSlider::SliderSingleStepSub,
                                QAbstractSlider::SliderToMinimum, QAbstractSlider::SliderSingleStepAdd})
                bar->triggerAction(action);
    }
    void expectViews(const char *study)
    {
        EXPECT_TRUE(form->isVisible()) << study;
        EXPECT_EQ(form->Image1->picture().size(), QSize(542, 542)) << study;
        EXPECT_EQ(form->Image2->picture().size(), QSize(25, 512)) << study;
        EXPECT_EQ(form->Image3->picture().size(), QSize(256, 256)) << study;
    }

    TempDir dir;

private:
    QtMessageHandler previousHandler_ = nullptr;
};

TEST_F(AwkwardStudyWindowTest, EveryViewOfEveryAwkwardStudy)
{
    std::vector<std::string> boxes;
    ScopedMessageBoxFunction answer([&](const MessageBoxRequest &r) {
        boxes.push_back(r.text.toStdString());
        return QMessageBox::Ok;
    });
    form->ScrollBarT->setValue(10);
    for (const AwkwardStudy &study : AwkwardStudies()) {
        SCOPED_TRACE(study.name);
        WriteTestStudy(dir.file(study.name), study.pixels);
        ASSERT_TRUE(form->OpenStudy(QString::fromStdString(dir.file(std::string(study.name) + ".d01"))));
        expectViews(study.name);

        // The montages, other slices and phases, the count window at its ends.
        click("RadioButton34"); // phase montage
        click("RadioButton1");  // slice 1
        click("RadioButton32"); // phase 16
        click("RadioButton33"); // slice montage
        moveBars({form->ScrollBarMax, form->ScrollBarMin});
        click("RadioButton14"); // slice 8
        click("RadioButton30"); // phase 8
        // The detail view's bars at their ends: centre, radius, angle.
        moveBars({form->ScrollBarX, form->ScrollBarY, form->ScrollBarD, form->ScrollBarR});
        click("RBOff");
        click("RBOn");
        expectViews(study.name);

        // Every map kind, the bars of each (percent limits in the bull's-eyes).
        click("RadioButton35");
        for (const char *kind : MapKindButtons) {
            click(kind);
            moveBars({form->ScrollBarMax, form->ScrollBarMin, form->ScrollBar4});
            expectViews(study.name);
        }
        // The bull's-eye of one phase for every quantity, with the thresholds at their ends.
        click("RadioButton48");
        for (const char *quantity : {"RBSA", "RBSW", "RadioButton50", "RBSP"})
            click(quantity);
        moveBars({form->ScrollBarA, form->ScrollBarW});

        // A short cine loop in map display and in the slice montage.
        for (const char *display : {"RadioButton35", "RadioButton33"}) {
            click(display);
            QTimer::singleShot(60, form->Button2, &QPushButton::click);
            QTest::mouseClick(form->Button1, Qt::LeftButton);
        }

        // Both variants of the results file: their fixed number of lines (CR LF ends).
        for (auto [button, lines] : {std::pair{"RadioButton46", 1148}, std::pair{"RadioButton47", 72}}) {
            click(button);
            const std::string out = dir.file(std::string(study.name) + button + ".csv");
            ASSERT_TRUE(form->SaveResults(QString::fromStdString(out)));
            const QByteArray text = [&] {
                QFile f(QString::fromStdString(out));
                return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
            }();
            EXPECT_EQ(text.count("\r\n"), lines) << button;
        }
        expectViews(study.name);
    }
    EXPECT_TRUE(boxes.empty()) << boxes.front();
}

TEST_F(AwkwardStudyWindowTest, ASetThatCannotBeReadAfterAnAwkwardOne)
{
    const AwkwardStudy &hot = AwkwardStudies()[2];
    WriteTestStudy(dir.file("HOT"), hot.pixels);
    WriteTestStudy(dir.file("MISS"), hot.pixels);
    std::filesystem::remove(dir.file("MISS.d16"));
    WriteTestStudy(dir.file("SHORT"), hot.pixels);
    std::filesystem::resize_file(dir.file("SHORT.d01"), 9984); // the header only
    std::filesystem::create_directory(dir.file("FOLDER.d01"));

    click("RadioButton35"); // in map display, the bull's-eye of one phase
    click("RadioButton48");
    ASSERT_TRUE(form->OpenStudy(QString::fromStdString(dir.file("HOT.d01"))));
    const QImage image1 = form->Image1->picture(), image3 = form->Image3->picture();
    ASSERT_EQ(form->data().study.CountRange, 32767);
    for (const char *file : {"MISS.d16", "SHORT.d01", "FOLDER.d01"}) {
        SCOPED_TRACE(file);
        std::vector<QString> shown;
        ScopedMessageBoxFunction answer([&](const MessageBoxRequest &r) {
            shown.push_back(r.text);
            return QMessageBox::Ok;
        });
        const std::string first = dir.file(std::string(file).substr(0, std::string(file).find('.')) + ".d01");
        EXPECT_FALSE(form->OpenStudy(QString::fromStdString(first)));
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_TRUE(shown[0].contains(QString::fromLatin1(file))) << shown[0].toStdString();
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(form->data().study.CountRange, 32767);
        EXPECT_EQ(form->Image1->picture(), image1);
        EXPECT_EQ(form->Image3->picture(), image3);
        // And the window goes on answering.
        click("RadioButton49");
        click("RadioButton48");
        EXPECT_EQ(form->Image1->picture(), image1);
    }
}

} // namespace
