#pragma once

#include <QtGlobal>

// While it lives, one warning that Qt writes to standard error without reason is left out; every
// other message goes where it went before.
class QuietQtWarning {
public:
    explicit QuietQtWarning(const char* warning);
    ~QuietQtWarning();
    QuietQtWarning(const QuietQtWarning&) = delete;
    QuietQtWarning& operator=(const QuietQtWarning&) = delete;

private:
    QtMessageHandler m_previous;
    const char* m_previousWarning;
};
