#include "CRecordingDC.h"

CRecordingDC::CRecordingDC(double dpi) : CDC(nullptr, dpi, dpi, true) {}

bool CRecordingDC::TextOut(int x, int y, const QString& text) {
    m_texts.push_back({x, y, text, GetMapMode(), LogicalFont()});
    return true;
}
