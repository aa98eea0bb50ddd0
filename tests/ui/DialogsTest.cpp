// The open and save dialogs and the message-box seam.
#include "FileDialogs.h"
#include "MessageBox.h"
#include "TestStudy.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>

namespace {

TEST(NameFilters, FromDescriptionsAndPatterns)
{
    struct Case {
        const char *filter;
        QStringList expected;
    };
    const Case cases[] = {
        {"scinti data (*.d01)|*.d01|すべてのﾌｧｲﾙ (*.*)|*.*",
         {QStringLiteral("scinti data (*.d01) (*.d01)"), QStringLiteral("すべてのﾌｧｲﾙ (*.*) (*)")}},
        {"CSVﾌｧｲﾙ (*.csv)|*.csv|すべてのﾌｧｲﾙ (*.*)|*.*",
         {QStringLiteral("CSVﾌｧｲﾙ (*.csv) (*.csv)"), QStringLiteral("すべてのﾌｧｲﾙ (*.*) (*)")}},
        // Several patterns of one entry; a description without its pattern is dropped.
        {"Pictures|*.png;*.bmp|dangling", {QStringLiteral("Pictures (*.png *.bmp)")}},
        {"", {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(NameFiltersFromFilter(QString::fromUtf8(c.filter)), c.expected) << c.filter;
}

// Shows `dialog` modally, types `name` into its file-name box and presses Return.
// Returns the chosen files, or nothing when the dialog was not accepted.
QStringList TypeIntoDialog(QFileDialog &dialog, const QString &name)
{
    QStringList seenFilters;
    QTimer::singleShot(0, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        ASSERT_EQ(modal, &dialog);
        auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(edit, nullptr);
        edit->setText(name);
        QTest::keyClick(edit, Qt::Key_Return);
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &dialog, [&dialog] {
        ADD_FAILURE() << "the dialog did not close";
        dialog.reject();
    });
    guard.start(5000);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}

TEST(FileDialogs, OpenAndSaveSettings)
{
    struct Case {
        std::unique_ptr<QFileDialog> dialog;
        QFileDialog::AcceptMode mode;
        const char *suffix;
        QStringList shown; // as the filter list displays them
    };
    Case cases[] = {
        {CreateOpenDialog(nullptr),
         QFileDialog::AcceptOpen,
         "d01",
         {QStringLiteral("scinti data (*.d01)"), QStringLiteral("すべてのﾌｧｲﾙ (*.*)")}},
        {CreateSaveDialog(nullptr),
         QFileDialog::AcceptSave,
         "csv",
         {QStringLiteral("CSVﾌｧｲﾙ (*.csv)"), QStringLiteral("すべてのﾌｧｲﾙ (*.*)")}},
    };
    for (Case &c : cases) {
        QFileDialog &d = *c.dialog;
        EXPECT_TRUE(d.testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_EQ(d.acceptMode(), c.mode);
        EXPECT_EQ(d.defaultSuffix(), c.suffix);
        EXPECT_EQ(d.selectedNameFilter(), c.shown.value(0));
        EXPECT_TRUE(d.windowTitle().isEmpty() || !d.windowTitle().contains(QLatin1String("Corvista")));
        auto *types = d.findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        ASSERT_NE(types, nullptr);
        QStringList shown;
        for (int i = 0; i < types->count(); ++i)
            shown << types->itemText(i);
        EXPECT_EQ(shown, c.shown);
    }
}

TEST(FileDialogs, ANameWithoutExtensionGetsTheDefaultOne)
{
    TempDir dir;
    struct Case {
        bool open;
        const char *typed;
        const char *chosen;
    };
    const Case cases[] = {
        {true, "P", "P.d01"},
        {true, "P.d05", "P.d05"},
        {false, "results", "results.csv"},
        {false, "results.txt", "results.txt"},
    };
    for (const Case &c : cases) {
        auto dialog = c.open ? CreateOpenDialog(nullptr) : CreateSaveDialog(nullptr);
        dialog->setDirectory(QString::fromStdString(dir.path()));
        const QStringList files = TypeIntoDialog(*dialog, QString::fromUtf8(c.typed));
        ASSERT_EQ(files.size(), 1) << c.typed;
        EXPECT_EQ(files[0], QString::fromStdString(dir.file(c.chosen))) << c.typed;
    }
}

// The names the dialog lists in its folder view once it has read the folder.
QStringList ListedNames(QFileDialog &dialog)
{
    auto *view = dialog.findChild<QListView *>(QStringLiteral("listView"));
    if (!view)
        return {};
    QStringList names;
    if (!QTest::qWaitFor([&] { return view->model()->rowCount(view->rootIndex()) > 0; }, 2000))
        return {};
    QTest::qWait(50);
    for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
        names << view->model()->index(row, 0, view->rootIndex()).data().toString();
    names.sort();
    return names;
}

TEST(FileDialogs, EveryFileEntryListsFilesWithoutExtension)
{
    TempDir dir;
    std::ofstream(dir.file("HEART")) << "x";
    std::ofstream(dir.file("HEART.d01")) << "x";
    std::ofstream(dir.file("HEART.d02")) << "x";
    auto dialog = CreateOpenDialog(nullptr);
    dialog->setDirectory(QString::fromStdString(dir.path()));
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));

    EXPECT_EQ(ListedNames(*dialog), QStringList{QStringLiteral("HEART.d01")});
    dialog->selectNameFilter(dialog->nameFilters().value(1));
    EXPECT_EQ(ListedNames(*dialog),
              (QStringList{QStringLiteral("HEART"), QStringLiteral("HEART.d01"), QStringLiteral("HEART.d02")}));
    dialog->reject();
}

TEST(MessageBoxSeam, ReplacementAnswersAndIsRestored)
{
    std::vector<MessageBoxRequest> seen;
    {
        ScopedMessageBoxFunction outer([&](const MessageBoxRequest &r) {
            seen.push_back(r);
            return QMessageBox::Yes;
        });
        EXPECT_EQ(ShowMessageBox(nullptr, QMessageBox::Warning, QStringLiteral("Corvista"), QStringLiteral("P.d03"),
                                 QMessageBox::Yes | QMessageBox::No),
                  QMessageBox::Yes);
        {
            ScopedMessageBoxFunction inner([](const MessageBoxRequest &) { return QMessageBox::Cancel; });
            EXPECT_EQ(ShowMessageBox(nullptr, QMessageBox::Critical, QString(), QString()), QMessageBox::Cancel);
        }
        // The outer replacement is back.
        EXPECT_EQ(ShowMessageBox(nullptr, QMessageBox::Information, QString(), QStringLiteral("again")),
                  QMessageBox::Yes);
    }
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].icon, QMessageBox::Warning);
    EXPECT_EQ(seen[0].title, "Corvista");
    EXPECT_EQ(seen[0].text, "P.d03");
    EXPECT_EQ(seen[0].buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(seen[1].text, "again");
    // No replacement left in force.
    EXPECT_FALSE(SetMessageBoxFunction({}));
}

} // namespace
