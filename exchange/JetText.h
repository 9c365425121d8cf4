#pragma once

#include <QByteArrayView>
#include <QString>

// The texts of a Jet file as characters. Jet 3 stores 8-bit texts in the Windows code page of
// the machine that wrote them, Windows-1252 for German files; Jet 4 and ACE store UTF-16, often
// "compressed": after the mark FF FE, runs of one byte per character (the high byte zero)
// alternate with runs of two, each switch marked by a zero byte.
namespace JetText {

QString FromWindows1252(QByteArrayView bytes);
QString FromUnicode(QByteArrayView bytes);

}  // namespace JetText
