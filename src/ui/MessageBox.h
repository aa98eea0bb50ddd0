// The one way the program shows a message box. Tests replace the function that shows it, so
// that no test ever waits for a modal box; the replacement receives what would be shown and
// gives the answer.
#pragma once

#include <QMessageBox>

#include <functional>

struct MessageBoxRequest {
    QWidget *parent;
    QMessageBox::Icon icon;
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
};

using MessageBoxFunction = std::function<QMessageBox::StandardButton(const MessageBoxRequest &)>;

// Shows a modal message box (or asks the replacement) and returns the button pressed.
QMessageBox::StandardButton ShowMessageBox(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                                           const QString &text, QMessageBox::StandardButtons buttons = QMessageBox::Ok);

// Replaces the function that shows message boxes and returns the one in force before;
// an empty function restores the real message box.
MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction function);

// Replaces the message box for the life of the object, then puts the previous one back.
class ScopedMessageBoxFunction {
public:
    explicit ScopedMessageBoxFunction(MessageBoxFunction function)
        : previous_(SetMessageBoxFunction(std::move(function)))
    {
    }
    ~ScopedMessageBoxFunction() { SetMessageBoxFunction(std::move(previous_)); }
    ScopedMessageBoxFunction(const ScopedMessageBoxFunction &) = delete;
    ScopedMessageBoxFunction &operator=(const ScopedMessageBoxFunction &) = delete;

private:
    MessageBoxFunction previous_;
};
