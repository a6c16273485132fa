#pragma once
// The offscreen platform cannot pass a window's fixed height on to a window
// manager and warns on every resize; that warning says nothing about the
// program, so tests of the main window drop it.

#include <QtGlobal>
#include <QString>

inline void SilenceOffscreenSizeHints()
{
    static const QtMessageHandler previous = qInstallMessageHandler(nullptr);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &message) {
        if (!message.contains(QLatin1String("propagateSizeHints")))
            previous(type, context, message);
    });
}
