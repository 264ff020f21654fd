#include "DisplayCheck.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace {
QtMessageHandler previous = nullptr;
bool displayRefused = false;

void onMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    // The toolkit reports the refused connection, then the platform plugin that could not be
    // loaded because of it, then gives up with a fatal message. The sentence below says all
    // three; the last would abort the program.
    if (message.contains(u"could not connect to display", Qt::CaseInsensitive)) {
        displayRefused = true;
        return;
    }
    if (displayRefused && type == QtFatalMsg) {
        const QByteArray display = qgetenv("DISPLAY");
        if (display.isEmpty())
            std::fputs("lotaro: Nebyl nalezen žádný grafický displej (DISPLAY není nastaveno).\n"
                       "lotaro: No graphical display was found (DISPLAY is not set).\n",
                       stderr);
        else
            std::fprintf(stderr,
                         "lotaro: Nebyl nalezen žádný grafický displej (DISPLAY=%s).\n"
                         "lotaro: No graphical display was found (DISPLAY=%s).\n",
                         display.constData(), display.constData());
        std::fflush(stderr);
        // Nothing is unpacked or open yet, and the font worker may still be running: the
        // process ends without running exit handlers.
        std::_Exit(1);
    }
    if (displayRefused && message.contains(u"Qt platform plugin"))
        return;
    previous(type, context, message);
}
} // namespace

namespace DisplayCheck {
void exitPlainlyWithoutDisplay()
{
    previous = qInstallMessageHandler(onMessage);
}
} // namespace DisplayCheck
