#pragma once

#include <QByteArrayView>
#include <QString>

#include "JetColumn.h"

// A fixed-size value of a Jet row as the text a catalogue field holds: numbers in decimal with a
// German decimal comma and without grouping, dates as TT.MM.JJJJ (with the time of day when it
// is not midnight), currency exactly to its four decimals, yes/no as "Ja"/"Nein".
namespace JetValue {

// The text of `bytes`, which hold one value of a column of `type` (a fixed-size type: not a
// text, memo, binary or decimal column). Empty when the bytes are too few for the type.
QString Text(JetType type, QByteArrayView bytes);
// A day of the engine's calendar, counted from 30.12.1899, with the time as its fraction.
QString DateText(double value);
QString BooleanText(bool value);

}  // namespace JetValue
