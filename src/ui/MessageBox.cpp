#include "MessageBox.h"

namespace {
QMessageBox::StandardButton RealMessageBox(const MessageBoxRequest &request)
{
    QMessageBox box(request.icon, request.title, request.text, request.buttons, request.parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

MessageBoxFunction &CurrentFunction()
{
    static MessageBoxFunction function;
    return function;
}
} // namespace

QMessageBox::StandardButton ShowMessageBox(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                                           const QString &text, QMessageBox::StandardButtons buttons)
{
    const MessageBoxRequest request{parent, icon, title, text, buttons};
    const MessageBoxFunction &function = CurrentFunction();
    return function ? function(request) : RealMessageBox(request);
}

MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction function)
{
    MessageBoxFunction previous = std::move(CurrentFunction());
    CurrentFunction() = std::move(function);
    return previous;
}
