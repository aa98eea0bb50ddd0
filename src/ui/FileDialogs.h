// The dialogs of File > Open and File > Save As: the program's filters and default
// extensions in Qt's own dialog (not the desktop's), which shows the file name in a plain
// edit box and can be driven by tests.
#pragma once

#include <QFileDialog>
#include <QStringList>

#include <memory>

// "scinti data (*.d01)|*.d01|すべてのﾌｧｲﾙ (*.*)|*.*", default extension "d01".
std::unique_ptr<QFileDialog> CreateOpenDialog(QWidget *parent);
// "CSVﾌｧｲﾙ (*.csv)|*.csv|すべてのﾌｧｲﾙ (*.*)|*.*", default extension "csv".
std::unique_ptr<QFileDialog> CreateSaveDialog(QWidget *parent);

// Turns a filter "description|pattern|description|pattern..." into the dialog's name
// filters, one per description. The dialog lists the descriptions as they are written;
// "*.*" matches every file, also one without an extension, as it does on the desktop the
// program comes from.
QStringList NameFiltersFromFilter(const QString &filter);
