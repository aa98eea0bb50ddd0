#include "EventLog.h"

#include "SDIMain.h"

#include <QEvent>
#include <QFile>
#include <QPointer>

#include <chrono>
#include <cstdio>
#include <memory>

namespace {

using F = TSDIAppForm;

template <class H> struct NamedHandler {
    H handler;
    const char *name;
};
#define CORVISTA_HANDLER(h)                                                                                            \
    {                                                                                                                  \
        &F::h, #h                                                                                                      \
    }

const NamedHandler<void (F::*)(QObject *)> SenderHandlers[] = {
    CORVISTA_HANDLER(ExitItemClick),    CORVISTA_HANDLER(About1Click),      CORVISTA_HANDLER(OpenItemClick),
    CORVISTA_HANDLER(SaveItemClick),    CORVISTA_HANDLER(KC1Click),         CORVISTA_HANDLER(K1Click),
    CORVISTA_HANDLER(K2Click),          CORVISTA_HANDLER(OnRBSaveClick),    CORVISTA_HANDLER(ScrollBarXChange),
    CORVISTA_HANDLER(ScrollBarYChange), CORVISTA_HANDLER(OnSBRChange),      CORVISTA_HANDLER(OnSBDChange),
    CORVISTA_HANDLER(RBOnClick),        CORVISTA_HANDLER(RBOffClick),       CORVISTA_HANDLER(OnSliceClick),
    CORVISTA_HANDLER(OnPhaseClick),     CORVISTA_HANDLER(OnSLClick),        CORVISTA_HANDLER(OnPHClick),
    CORVISTA_HANDLER(OnMapSelet),       CORVISTA_HANDLER(OnMAPSelectClick), CORVISTA_HANDLER(ScrollBar4Change),
    CORVISTA_HANDLER(OnRBSB_eyeClick),  CORVISTA_HANDLER(ScrollBarAChange), CORVISTA_HANDLER(ScrollBarWChange),
    CORVISTA_HANDLER(OnMoveClick),      CORVISTA_HANDLER(OnStopClick),      CORVISTA_HANDLER(OnSTTChange),
};
const NamedHandler<void (F::*)(QObject *, ScrollCode, int)> ScrollHandlers[] = {
    CORVISTA_HANDLER(OnSBMaxScroll),
    CORVISTA_HANDLER(OnSBMinScroll),
};
const NamedHandler<void (F::*)(QObject *, Qt::MouseButton, int, int)> MouseHandlers[] = {
    CORVISTA_HANDLER(OnImage1MouseDown),
    CORVISTA_HANDLER(OnImage3MouseDpwn),
};
#undef CORVISTA_HANDLER

template <class H, std::size_t N> const char *lookUp(const NamedHandler<H> (&table)[N], H handler)
{
    for (const NamedHandler<H> &entry : table)
        if (entry.handler == handler)
            return entry.name;
    return nullptr;
}

qint64 microsSinceEpoch()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

// A field never breaks the line or the columns, whatever a path or caption holds.
QString field(QString text)
{
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return text;
}

// The open log: its file, the window whose captions it records, and the watch for the
// window's first paint.
class Log : public QObject {
public:
    Log(TSDIAppForm &form, const QString &path) : form_(&form), file_(path)
    {
        // The first paint of a window not yet shown: how long the start took.
        if (!form.isVisible())
            form.installEventFilter(this);
    }

    bool open() { return file_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text); }

    void write(const char *handler, const char *control, qint64 micros, int depth)
    {
        QString line = QString::number(microsSinceEpoch()) + QLatin1Char('\t') +
                       QString::fromLatin1(handler ? handler : "?") + QLatin1Char('\t') +
                       QString::fromLatin1(control ? control : "") + QLatin1Char('\t') + QString::number(micros) +
                       QLatin1Char('\t') + QString::number(depth);
        if (const auto *form = static_cast<const TSDIAppForm *>(form_.data())) {
            const std::pair<const char *, const TLabel *> labels[] = {
                {"Label1", form->Label1}, {"Label2", form->Label2}, {"LabelA", form->LabelA},
                {"LabelW", form->LabelW}, {"Label3", form->Label3}, {"Label6", form->Label6},
            };
            for (const auto &[name, label] : labels)
                line += QLatin1Char('\t') + QLatin1String(name) + QLatin1Char('=') + field(label->caption());
            line += QStringLiteral("\tStatusBar=") + field(form->StatusBar->currentMessage());
        }
        line += QLatin1Char('\n');
        file_.write(line.toUtf8());
        // Flushed at once, so a reader sees every line while the program runs, and a program
        // that ends abruptly leaves all it did.
        file_.flush();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == form_ && event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            write("Shown", "SDIAppForm", 0, 0);
        }
        return false;
    }

private:
    // A QObject pointer: it is compared while the window is being destroyed.
    QPointer<QObject> form_;
    QFile file_;
};

std::unique_ptr<Log> current;
int running = 0;

} // namespace

namespace EventLog {

bool StartFromEnvironment(TSDIAppForm &form)
{
    const QString path = qEnvironmentVariable("CORVISTA_EVENT_LOG");
    return !path.isEmpty() && Start(form, path);
}

bool Start(TSDIAppForm &form, const QString &path)
{
    current = std::make_unique<Log>(form, path);
    if (!current->open()) {
        std::fprintf(stderr, "corvista: the event log %s cannot be opened\n", path.toLocal8Bit().constData());
        current.reset();
    }
    return current != nullptr;
}

void Stop()
{
    current.reset();
}

bool Active()
{
    return current != nullptr;
}

int EnterHandler()
{
    return ++running;
}

void LeaveHandler()
{
    --running;
}

int Depth()
{
    return running;
}

void Handled(const char *handler, const char *control, qint64 micros, int depth)
{
    if (current)
        current->write(handler ? handler : control, control, micros, depth);
}

const char *HandlerName(void (TSDIAppForm::*handler)(QObject *))
{
    return lookUp(SenderHandlers, handler);
}

const char *HandlerName(void (TSDIAppForm::*handler)(QObject *, ScrollCode, int))
{
    return lookUp(ScrollHandlers, handler);
}

const char *HandlerName(void (TSDIAppForm::*handler)(QObject *, Qt::MouseButton, int, int))
{
    return lookUp(MouseHandlers, handler);
}

} // namespace EventLog
