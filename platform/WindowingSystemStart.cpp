#include "WindowingSystemStart.h"

#include <QList>
#include <QRegularExpression>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace {

struct HeldMessage
{
    QtMsgType type;
    QByteArray category;
    QString text;
};

QString watchedProgram;
QList<HeldMessage> heldMessages;
QtMessageHandler passOn = nullptr;

QString platformNamedIn(const QList<HeldMessage> &messages)
{
    static const QRegularExpression pluginName(QStringLiteral("platform plugin \"([^\"]+)\""));
    for (const HeldMessage &message : messages) {
        const QRegularExpressionMatch match = pluginName.match(message.text);
        if (match.hasMatch())
            return match.captured(1);
    }
    return QString();
}

void holdOrEnd(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type != QtFatalMsg) {
        heldMessages.append({type, QByteArray(context.category), text});
        return;
    }
    const QString platform = platformNamedIn(heldMessages);
    std::fprintf(stderr, "%s: cannot start: no connection to the display server%s\n",
                 qPrintable(watchedProgram),
                 platform.isEmpty() ? "" : qPrintable(QStringLiteral(" (%1)").arg(platform)));
    std::fflush(stderr);
    // Qt's state is half made: nothing of it may run on the way out.
    std::_Exit(EXIT_FAILURE);
}

} // namespace

void WindowingSystemStart::watch(const QString &programName)
{
    watchedProgram = programName;
    passOn = qInstallMessageHandler(holdOrEnd);
}

void WindowingSystemStart::succeeded()
{
    qInstallMessageHandler(passOn);
    for (const HeldMessage &message : qAsConst(heldMessages)) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
        qt_message_output(message.type, context, message.text);
    }
    heldMessages.clear();
}
