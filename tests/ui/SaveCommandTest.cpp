// File > Save As in the window: the dialog, the variants, and a file that cannot be written.
#include "MessageBox.h"
#include "ResultsFile.h"
#include "TestStudy.h"
#include "WindowFixture.h"

#include <cstring>
#include <fstream>
#include <sstream>

namespace {

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

int lineCount(const std::string &bytes)
{
    int lines = 0;
    for (std::size_t at = bytes.find("\r\n"); at != std::string::npos; at = bytes.find("\r\n", at + 2))
        ++lines;
    return lines;
}

class SaveCommandTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        WriteTestStudy(dir.file("P"), [](int phase, int slice, int column, int row) {
            const int dx = column - 32, dy = row - 32;
            return int16_t(dx * dx + dy * dy < 50 ? 300 + 5 * phase + slice : 40);
        });
        openThroughDialog(dir.file("P.d01"));
    }
    TempDir dir;
};

TEST_F(SaveCommandTest, BothVariantsThroughTheDialog)
{
    struct Case {
        const char *button, *name;
        int lines;
        const char *first;
    } cases[] = {
        {"RadioButton46", "a", 1148, "SLICE,8,\r\n"},
        {"RadioButton47", "b", 72, "percentCI-MAP(peak),\r\n"},
    };
    for (const Case &c : cases) {
        find<QRadioButton>(c.button)->click();
        AnswerNextFileDialog(QString::fromStdString(dir.file(c.name))); // the dialog adds ".csv"
        form->SaveItem->trigger();
        const std::string bytes = readFile(dir.file(std::string(c.name) + ".csv"));
        EXPECT_EQ(lineCount(bytes), c.lines) << c.name;
        EXPECT_EQ(bytes.substr(0, std::strlen(c.first)), c.first) << c.name;
        // The same file as the library writes for these settings.
        ResultsFileSettings settings;
        settings.variant = form->view().ExportVariant;
        settings.curPhase = 7;
        settings.analysis = form->analysisInputs();
        ProfileResults scratch;
        std::string expected;
        ASSERT_TRUE(FormatResultsFile(expected, form->data().study.volume, settings, scratch));
        EXPECT_EQ(bytes, expected) << c.name;
        EXPECT_EQ(form->view().CurSlice, 7);
    }
}

TEST_F(SaveCommandTest, AFileThatCannotBeWrittenIsReported)
{
    std::ofstream(dir.file("plain.txt")) << "a file, not a folder";
    std::vector<MessageBoxRequest> shown;
    ScopedMessageBoxFunction answer([&](const MessageBoxRequest &r) {
        shown.push_back(r);
        return QMessageBox::Ok;
    });
    const std::string target = dir.file("plain.txt/out.csv");
    EXPECT_FALSE(form->SaveResults(QString::fromStdString(target)));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].text.contains(QStringLiteral("out.csv"))) << shown[0].text.toStdString();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(readFile(dir.file("plain.txt")), "a file, not a folder");
}

TEST_F(SaveCommandTest, CancelWritesNothing)
{
    AnswerNextFileDialog(QString());
    form->SaveItem->trigger();
    EXPECT_FALSE(std::ifstream(dir.file("a.csv")).good());
    EXPECT_EQ(form->view().CineStopRequested, 1);
}

} // namespace
