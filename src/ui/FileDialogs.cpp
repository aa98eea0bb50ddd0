#include "FileDialogs.h"

namespace {
const char *const OpenFilter = "scinti data (*.d01)|*.d01|すべてのﾌｧｲﾙ (*.*)|*.*";
const char *const SaveFilter = "CSVﾌｧｲﾙ (*.csv)|*.csv|すべてのﾌｧｲﾙ (*.*)|*.*";

std::unique_ptr<QFileDialog> CreateFileDialog(QWidget *parent, QFileDialog::AcceptMode mode, const char *filter,
                                              const char *defaultSuffix)
{
    auto dialog = std::make_unique<QFileDialog>(parent);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    // The descriptions carry their patterns already; the dialog's own copy stays hidden.
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    dialog->setAcceptMode(mode);
    // Like the original dialogs, neither insists on an existing file: what a name that
    // cannot be opened leads to is the command's business.
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilters(NameFiltersFromFilter(QString::fromUtf8(filter)));
    dialog->setDefaultSuffix(QString::fromLatin1(defaultSuffix));
    return dialog;
}
} // namespace

QStringList NameFiltersFromFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList nameFilters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString &pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
        }
        nameFilters.append(parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')'));
    }
    return nameFilters;
}

std::unique_ptr<QFileDialog> CreateOpenDialog(QWidget *parent)
{
    return CreateFileDialog(parent, QFileDialog::AcceptOpen, OpenFilter, "d01");
}

std::unique_ptr<QFileDialog> CreateSaveDialog(QWidget *parent)
{
    return CreateFileDialog(parent, QFileDialog::AcceptSave, SaveFilter, "csv");
}
