#include "JetValue.h"

#include <QDate>
#include <QTime>
#include <QtEndian>
#include <bit>
#include <charconv>
#include <cmath>

namespace {

constexpr qint64 kSecondsPerDay = 24 * 60 * 60;

// The shortest decimal text that reads back as the same number.
template <typename Number>
QString DecimalText(Number value) {
    char digits[400];
    const auto result =
        std::to_chars(std::begin(digits), std::end(digits), value, std::chars_format::fixed);
    QString text = QString::fromLatin1(digits, result.ptr - digits);
    return text.replace(QLatin1Char('.'), QLatin1Char(','));
}

// Currency is a whole number of ten-thousandths.
QString MoneyText(qint64 value) {
    const bool negative = value < 0;
    const quint64 magnitude = negative ? 0 - static_cast<quint64>(value) : value;
    QString text = QString::number(magnitude / 10000);
    QString fraction = QStringLiteral("%1").arg(magnitude % 10000, 4, 10, QLatin1Char('0'));
    while (fraction.endsWith(QLatin1Char('0'))) {
        fraction.chop(1);
    }
    if (!fraction.isEmpty()) {
        text += QLatin1Char(',') + fraction;
    }
    return negative ? QLatin1Char('-') + text : text;
}

QString GuidText(const unsigned char* bytes) {
    return QStringLiteral("{%1-%2-%3-%4-%5}")
        .arg(qFromLittleEndian<quint32>(bytes), 8, 16, QLatin1Char('0'))
        .arg(qFromLittleEndian<quint16>(bytes + 4), 4, 16, QLatin1Char('0'))
        .arg(qFromLittleEndian<quint16>(bytes + 6), 4, 16, QLatin1Char('0'))
        .arg(QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(bytes) + 8, 2).toHex()),
             QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(bytes) + 10, 6).toHex()))
        .toUpper();
}

qsizetype SizeOf(JetType type) {
    switch (type) {
        case JetType::Byte:
            return 1;
        case JetType::Integer:
            return 2;
        case JetType::Long:
        case JetType::Float:
            return 4;
        case JetType::Money:
        case JetType::Double:
        case JetType::DateTime:
            return 8;
        case JetType::Guid:
            return 16;
        default:
            return 0;
    }
}

}  // namespace

QString JetValue::Text(JetType type, QByteArrayView bytes) {
    const qsizetype size = SizeOf(type);
    if (size == 0 || bytes.size() < size) {
        return {};
    }
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    switch (type) {
        case JetType::Byte:
            return QString::number(data[0]);
        case JetType::Integer:
            return QString::number(qFromLittleEndian<qint16>(data));
        case JetType::Long:
            return QString::number(qFromLittleEndian<qint32>(data));
        case JetType::Float:
            return DecimalText(std::bit_cast<float>(qFromLittleEndian<quint32>(data)));
        case JetType::Double:
            return DecimalText(std::bit_cast<double>(qFromLittleEndian<quint64>(data)));
        case JetType::Money:
            return MoneyText(qFromLittleEndian<qint64>(data));
        case JetType::DateTime:
            return DateText(std::bit_cast<double>(qFromLittleEndian<quint64>(data)));
        case JetType::Guid:
            return GuidText(data);
        default:
            return {};
    }
}

QString JetValue::DateText(double value) {
    // Days before 1899 count down while their time of day still counts up: -1.25 is six in the
    // morning of 29.12.1899. Values beyond any calendar are kept as numbers.
    if (!std::isfinite(value) || std::abs(value) > 3e6) {
        return DecimalText(value);
    }
    qint64 days = static_cast<qint64>(std::trunc(value));
    qint64 seconds = std::llround(std::abs(value - static_cast<double>(days)) * kSecondsPerDay);
    if (seconds == kSecondsPerDay) {
        days += 1;
        seconds = 0;
    }
    const QDate date = QDate(1899, 12, 30).addDays(days);
    QString text = date.toString(QStringLiteral("dd.MM.yyyy"));
    if (seconds != 0) {
        text += QLatin1Char(' ') +
                QTime(0, 0).addSecs(static_cast<int>(seconds)).toString(QStringLiteral("HH:mm:ss"));
    }
    return text;
}

QString JetValue::BooleanText(bool value) {
    return value ? QStringLiteral("Ja") : QStringLiteral("Nein");
}
