#include "QuietQtWarning.h"

#include <QString>
#include <cstdio>

namespace {

const char* s_warning = nullptr;
QtMessageHandler s_previous = nullptr;

void LeaveOut(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (s_warning && message == QLatin1String(s_warning)) {
        return;
    }
    if (s_previous) {
        s_previous(type, context, message);
    } else {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    }
}

}  // namespace

QuietQtWarning::QuietQtWarning(const char* warning)
    : m_previous(s_previous), m_previousWarning(s_warning) {
    s_warning = warning;
    s_previous = qInstallMessageHandler(LeaveOut);
}

QuietQtWarning::~QuietQtWarning() {
    qInstallMessageHandler(s_previous);
    s_previous = m_previous;
    s_warning = m_previousWarning;
}
