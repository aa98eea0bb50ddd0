// The window's own controls on their own: scroll request kinds from real mouse and key
// input, radio buttons hit on their whole rectangle, image controls keeping their picture.
#include "Bitmap.h"
#include "Controls.h"

#include <QApplication>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

using Request = std::pair<ScrollCode, int>;
using Requests = std::vector<Request>;

// Records every request together with the bar's value at the moment it is reported.
struct Recorder {
    explicit Recorder(TScrollBar *bar)
    {
        QObject::connect(bar, &TScrollBar::scrollRequest, [this, bar](ScrollCode kind, int position) {
            requests.emplace_back(kind, position);
            valuesSeen.push_back(bar->value());
        });
    }
    Requests requests;
    std::vector<int> valuesSeen;
};

// Where a part of the bar is drawn (arrow, trough, thumb), from the style.
QRect partOf(const QScrollBar *bar, QStyle::SubControl part)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_None;
    option.activeSubControls = QStyle::SC_None;
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    if (bar->orientation() == Qt::Horizontal)
        option.state |= QStyle::State_Horizontal;
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}

class ScrollBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host = std::make_unique<QWidget>();
        host->resize(300, 300);
        vertical = new TScrollBar(Qt::Vertical, host.get());
        vertical->setGeometry(10, 10, 20, 257);
        horizontal = new TScrollBar(Qt::Horizontal, host.get());
        horizontal->setGeometry(40, 10, 209, 20);
        for (TScrollBar *bar : {vertical, horizontal}) {
            bar->setRange(0, 100);
            bar->setValue(50);
            bar->setSingleStep(1);
            bar->setPageStep(1);
            bar->setFocusPolicy(Qt::StrongFocus);
        }
        host->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
    }

    std::unique_ptr<QWidget> host;
    TScrollBar *vertical = nullptr;
    TScrollBar *horizontal = nullptr;
};

TEST_F(ScrollBarTest, ArrowAndTroughClicksReportLineAndPageRequests)
{
    struct Case {
        const char *what;
        bool vert;
        QStyle::SubControl part;
        int start;
        Requests expected;
    };
    const Case cases[] = {
        {"down arrow", true, QStyle::SC_ScrollBarAddLine, 50, {{SB_LINEDOWN, 51}, {SB_ENDSCROLL, 51}}},
        {"up arrow", true, QStyle::SC_ScrollBarSubLine, 50, {{SB_LINEUP, 49}, {SB_ENDSCROLL, 49}}},
        {"trough below the thumb", true, QStyle::SC_ScrollBarAddPage, 50, {{SB_PAGEDOWN, 51}, {SB_ENDSCROLL, 51}}},
        {"trough above the thumb", true, QStyle::SC_ScrollBarSubPage, 50, {{SB_PAGEUP, 49}, {SB_ENDSCROLL, 49}}},
        // At the end of the range the coming position is clamped.
        {"down arrow at the bottom", true, QStyle::SC_ScrollBarAddLine, 100, {{SB_LINEDOWN, 100}, {SB_ENDSCROLL, 100}}},
        {"up arrow at the top", true, QStyle::SC_ScrollBarSubLine, 0, {{SB_LINEUP, 0}, {SB_ENDSCROLL, 0}}},
        {"right arrow", false, QStyle::SC_ScrollBarAddLine, 50, {{SB_LINEDOWN, 51}, {SB_ENDSCROLL, 51}}},
        {"trough left of the thumb", false, QStyle::SC_ScrollBarSubPage, 50, {{SB_PAGEUP, 49}, {SB_ENDSCROLL, 49}}},
    };
    for (const Case &c : cases) {
        TScrollBar *bar = c.vert ? vertical : horizontal;
        bar->setValue(c.start);
        Recorder recorder(bar);
        const QRect part = partOf(bar, c.part);
        ASSERT_TRUE(part.isValid()) << c.what;
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, part.center());
        EXPECT_EQ(recorder.requests, c.expected) << c.what;
        // The bar already stands at the reported position when the request arrives.
        std::vector<int> positions;
        for (const Request &r : c.expected)
            positions.push_back(r.second);
        EXPECT_EQ(recorder.valuesSeen, positions) << c.what;
        QObject::disconnect(bar, &TScrollBar::scrollRequest, nullptr, nullptr);
    }
}

TEST_F(ScrollBarTest, DraggedThumbTracksThenReportsWhereItWasLetGo)
{
    Recorder recorder(vertical);
    const QPoint start = partOf(vertical, QStyle::SC_ScrollBarSlider).center();
    QTest::mousePress(vertical, Qt::LeftButton, Qt::NoModifier, start);
    for (int dy = 10; dy <= 60; dy += 10)
        QTest::mouseMove(vertical, start + QPoint(0, dy));
    QTest::mouseRelease(vertical, Qt::LeftButton, Qt::NoModifier, start + QPoint(0, 60));

    const Requests &r = recorder.requests;
    ASSERT_GE(r.size(), 3u);
    // Track requests, each further down, then the position where the thumb was let go,
    // then the end of the action.
    int last = 50;
    for (std::size_t i = 0; i + 2 < r.size(); ++i) {
        EXPECT_EQ(r[i].first, SB_THUMBTRACK) << i;
        EXPECT_GT(r[i].second, last) << i;
        last = r[i].second;
    }
    EXPECT_EQ(r[r.size() - 2], Request(SB_THUMBPOSITION, last));
    EXPECT_EQ(r.back(), Request(SB_ENDSCROLL, last));
    EXPECT_EQ(vertical->value(), last);
    EXPECT_EQ(recorder.valuesSeen.back(), last);
}

TEST_F(ScrollBarTest, KeysReportLinePageTopBottom)
{
    struct Case {
        Qt::Key key;
        int start;
        Requests expected;
    };
    const Case cases[] = {
        {Qt::Key_Down, 50, {{SB_LINEDOWN, 51}, {SB_ENDSCROLL, 51}}},
        {Qt::Key_Up, 50, {{SB_LINEUP, 49}, {SB_ENDSCROLL, 49}}},
        {Qt::Key_PageDown, 50, {{SB_PAGEDOWN, 51}, {SB_ENDSCROLL, 51}}},
        {Qt::Key_PageUp, 50, {{SB_PAGEUP, 49}, {SB_ENDSCROLL, 49}}},
        {Qt::Key_Home, 50, {{SB_TOP, 0}, {SB_ENDSCROLL, 0}}},
        {Qt::Key_End, 50, {{SB_BOTTOM, 100}, {SB_ENDSCROLL, 100}}},
    };
    vertical->setFocus();
    for (const Case &c : cases) {
        vertical->setValue(c.start);
        Recorder recorder(vertical);
        QTest::keyClick(vertical, c.key);
        EXPECT_EQ(recorder.requests, c.expected) << c.key;
        QObject::disconnect(vertical, &TScrollBar::scrollRequest, nullptr, nullptr);
    }
}

TEST_F(ScrollBarTest, ChangesByTheProgramReportNoRequest)
{
    Recorder recorder(vertical);
    QSignalSpy changes(vertical, &QAbstractSlider::valueChanged);
    vertical->setValue(70);
    vertical->setRange(0, 60); // pulls the position to 60
    EXPECT_TRUE(recorder.requests.empty());
    EXPECT_EQ(changes.count(), 2);
}

TEST(RadioButton, ReactsOnItsWholeRectangle)
{
    QWidget host;
    host.resize(200, 60);
    auto *plain = new QRadioButton(QStringLiteral("1"), &host);
    plain->setGeometry(0, 0, 89, 17);
    auto *ours = new TRadioButton(QStringLiteral("1"), &host);
    ours->setGeometry(0, 30, 89, 17);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));

    const QPoint farCorner(88, 16); // well right of the one-character caption
    QTest::mouseClick(plain, Qt::LeftButton, Qt::NoModifier, farCorner);
    EXPECT_FALSE(plain->isChecked()); // what Qt alone would do
    QTest::mouseClick(ours, Qt::LeftButton, Qt::NoModifier, farCorner);
    EXPECT_TRUE(ours->isChecked());
    // Outside the rectangle nothing happens.
    EXPECT_FALSE(ours->hitButton(QPoint(89, 16)));
}

TEST(Tag, ReadFromTheControlsProperty)
{
    QObject o;
    EXPECT_EQ(TagOf(&o), 0);
    o.setProperty("Tag", 13);
    EXPECT_EQ(TagOf(&o), 13);
    EXPECT_EQ(TagOf(nullptr), 0);
}

TEST(Image, KeepsACopyOfTheLastPicture)
{
    TImage image;
    image.resize(4, 3);
    {
        Bitmap bitmap(4, 3, Rgb(10, 20, 30));
        bitmap.setPixel(3, 2, Rgb(255, 1, 0));
        // Wrapping shares the pixels...
        EXPECT_EQ(WrapBitmap(bitmap).constBits(), reinterpret_cast<const uchar *>(bitmap.constBits()));
        image.setPicture(bitmap);
    } // ...the bitmap is released here, the picture stays.
    ASSERT_EQ(image.picture().size(), QSize(4, 3));
    EXPECT_EQ(image.picture().pixel(0, 0), 0xFF0A141Eu);
    EXPECT_EQ(image.picture().pixel(3, 2), 0xFFFF0100u);

    const QImage shown = image.grab().toImage();
    EXPECT_EQ(shown.pixelColor(0, 0), QColor(10, 20, 30));
    EXPECT_EQ(shown.pixelColor(3, 2), QColor(255, 1, 0));
}

TEST(Image, ShowsTheMenuColourWherePictureDoesNotReach)
{
    TImage image;
    image.resize(6, 6);
    const QColor menu = image.palette().color(QPalette::Window);
    EXPECT_EQ(image.grab().toImage().pixelColor(5, 5), menu);

    QImage small(3, 3, QImage::Format_RGB32);
    small.fill(Qt::black);
    image.setPicture(small);
    const QImage shown = image.grab().toImage();
    EXPECT_EQ(shown.pixelColor(2, 2), QColor(Qt::black));
    EXPECT_EQ(shown.pixelColor(3, 0), menu);
    EXPECT_EQ(shown.pixelColor(0, 3), menu);
}

TEST(Image, ReportsMousePressWithButtonAndPlace)
{
    TImage image;
    image.resize(256, 256);
    image.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&image));
    QSignalSpy spy(&image, &TImage::mouseDown);
    QTest::mousePress(&image, Qt::RightButton, Qt::NoModifier, QPoint(5, 7));
    QTest::mouseRelease(&image, Qt::RightButton, Qt::NoModifier, QPoint(5, 7));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy[0][0].value<Qt::MouseButton>(), Qt::RightButton);
    EXPECT_EQ(spy[0][1].toInt(), 5);
    EXPECT_EQ(spy[0][2].toInt(), 7);
}

} // namespace
