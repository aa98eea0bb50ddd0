// A record of the window's work for the end-to-end test and for measurements: with
// CORVISTA_EVENT_LOG=FILE set, the window appends one line to FILE per handled control or
// menu event (the handler, how long it took, the captions a test wants to read) and one when
// it is first painted. Off, and costing one pointer test per event, unless started.
#pragma once

#include "Controls.h"

#include <QElapsedTimer>
#include <QString>

#include <utility>

class TSDIAppForm;
class QObject;

namespace EventLog {

// Starts appending to the file CORVISTA_EVENT_LOG names, if it is set and not empty; returns
// whether the log is on. A file that cannot be opened leaves the log off (and says so on
// standard error): the program itself runs as always.
bool StartFromEnvironment(TSDIAppForm &form);
// Starts appending to `path`; replaces a log already started.
bool Start(TSDIAppForm &form, const QString &path);
void Stop();
bool Active();

// One line: the time of the end in microseconds since 1970, the handler, the control or
// menu item that caused it, the handler's duration in microseconds, how many handlers it
// ran inside (a click handled during a cine loop is 1 deep), and the captions.
void Handled(const char *handler, const char *control, qint64 micros, int depth);
// Handlers running now, the one that asks included.
int EnterHandler();
void LeaveHandler();
int Depth();

// The handler's name for a method of the main window, or nullptr for another one.
const char *HandlerName(void (TSDIAppForm::*handler)(QObject *));
const char *HandlerName(void (TSDIAppForm::*handler)(QObject *, ScrollCode, int));
const char *HandlerName(void (TSDIAppForm::*handler)(QObject *, Qt::MouseButton, int, int));
template <class H> const char *HandlerName(H)
{
    return nullptr;
}

// Runs a handler of `form` and, when the log is on, writes its line.
template <class Form, class Handler, class... Args>
void Run(Form &form, Handler handler, const char *control, Args &&...args)
{
    if (!Active()) {
        (form.*handler)(std::forward<Args>(args)...);
        return;
    }
    QElapsedTimer timer;
    timer.start();
    const int depth = EnterHandler() - 1;
    (form.*handler)(std::forward<Args>(args)...);
    LeaveHandler();
    Handled(HandlerName(handler), control, timer.nsecsElapsed() / 1000, depth);
}

// Times a part of a handler that stands for the answer the user waits for (the load after
// the open dialog has closed, the save after the save dialog) and writes its line when it
// ends, under `name`, with an empty control.
class Section {
public:
    explicit Section(const char *name) : name_(name)
    {
        if (Active())
            timer_.start();
    }
    ~Section()
    {
        if (Active() && timer_.isValid())
            Handled(name_, "", timer_.nsecsElapsed() / 1000, Depth());
    }
    Section(const Section &) = delete;
    Section &operator=(const Section &) = delete;

private:
    const char *name_;
    QElapsedTimer timer_;
};

} // namespace EventLog
