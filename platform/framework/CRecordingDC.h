#pragma once

#include <QString>
#include <vector>

#include "CDC.h"

// A device context that keeps the texts drawn on it instead of drawing them, with the logical
// position, mapping mode and font of each: a page's layout can be checked without a printer.
// It measures like a printer of the given resolution.
class CRecordingDC : public CDC {
public:
    struct Text {
        int x;
        int y;
        QString text;
        int mapMode;
        QFont font;  // pixel size in logical units
    };

    explicit CRecordingDC(double dpi = 1200.0);

    bool TextOut(int x, int y, const QString& text) override;
    const std::vector<Text>& Texts() const { return m_texts; }

private:
    std::vector<Text> m_texts;
};
