#include "TexText.h"

#include <QHash>

namespace {

// Combining marks of the accent commands.
const QHash<QString, char16_t>& Accents() {
    static const QHash<QString, char16_t> accents{
        {QStringLiteral("\""), 0x0308}, {QStringLiteral("'"), 0x0301},
        {QStringLiteral("`"), 0x0300},  {QStringLiteral("^"), 0x0302},
        {QStringLiteral("~"), 0x0303},  {QStringLiteral("="), 0x0304},
        {QStringLiteral("."), 0x0307},  {QStringLiteral("u"), 0x0306},
        {QStringLiteral("v"), 0x030C},  {QStringLiteral("H"), 0x030B},
        {QStringLiteral("c"), 0x0327},  {QStringLiteral("k"), 0x0328},
        {QStringLiteral("r"), 0x030A},  {QStringLiteral("d"), 0x0323},
        {QStringLiteral("b"), 0x0331},  {QStringLiteral("t"), 0x0361},
    };
    return accents;
}

// Commands that stand for a character or a few.
const QHash<QString, QString>& Symbols() {
    static const QHash<QString, QString> symbols{
        {QStringLiteral("ss"), QStringLiteral("ß")},
        {QStringLiteral("SS"), QStringLiteral("SS")},
        {QStringLiteral("o"), QStringLiteral("ø")},
        {QStringLiteral("O"), QStringLiteral("Ø")},
        {QStringLiteral("aa"), QStringLiteral("å")},
        {QStringLiteral("AA"), QStringLiteral("Å")},
        {QStringLiteral("ae"), QStringLiteral("æ")},
        {QStringLiteral("AE"), QStringLiteral("Æ")},
        {QStringLiteral("oe"), QStringLiteral("œ")},
        {QStringLiteral("OE"), QStringLiteral("Œ")},
        {QStringLiteral("l"), QStringLiteral("ł")},
        {QStringLiteral("L"), QStringLiteral("Ł")},
        {QStringLiteral("i"), QStringLiteral("ı")},
        {QStringLiteral("j"), QStringLiteral("ȷ")},
        {QStringLiteral("dh"), QStringLiteral("ð")},
        {QStringLiteral("DH"), QStringLiteral("Ð")},
        {QStringLiteral("th"), QStringLiteral("þ")},
        {QStringLiteral("TH"), QStringLiteral("Þ")},
        {QStringLiteral("textbraceleft"), QStringLiteral("{")},
        {QStringLiteral("textbraceright"), QStringLiteral("}")},
        {QStringLiteral("textbackslash"), QStringLiteral("\\")},
        {QStringLiteral("textasciitilde"), QStringLiteral("~")},
        {QStringLiteral("textasciicircum"), QStringLiteral("^")},
        {QStringLiteral("textunderscore"), QStringLiteral("_")},
        {QStringLiteral("textdollar"), QStringLiteral("$")},
        {QStringLiteral("textbar"), QStringLiteral("|")},
        {QStringLiteral("textless"), QStringLiteral("<")},
        {QStringLiteral("textgreater"), QStringLiteral(">")},
        {QStringLiteral("textendash"), QStringLiteral("–")},
        {QStringLiteral("textemdash"), QStringLiteral("—")},
        {QStringLiteral("textquotedblleft"), QStringLiteral("“")},
        {QStringLiteral("textquotedblright"), QStringLiteral("”")},
        {QStringLiteral("textquoteleft"), QStringLiteral("‘")},
        {QStringLiteral("textquoteright"), QStringLiteral("’")},
        {QStringLiteral("quotedblbase"), QStringLiteral("„")},
        {QStringLiteral("glqq"), QStringLiteral("„")},
        {QStringLiteral("grqq"), QStringLiteral("“")},
        {QStringLiteral("guillemotleft"), QStringLiteral("«")},
        {QStringLiteral("guillemotright"), QStringLiteral("»")},
        {QStringLiteral("textsection"), QStringLiteral("§")},
        {QStringLiteral("S"), QStringLiteral("§")},
        {QStringLiteral("P"), QStringLiteral("¶")},
        {QStringLiteral("textdegree"), QStringLiteral("°")},
        {QStringLiteral("texteuro"), QStringLiteral("€")},
        {QStringLiteral("euro"), QStringLiteral("€")},
        {QStringLiteral("pounds"), QStringLiteral("£")},
        {QStringLiteral("copyright"), QStringLiteral("©")},
        {QStringLiteral("textcopyright"), QStringLiteral("©")},
        {QStringLiteral("textregistered"), QStringLiteral("®")},
        {QStringLiteral("texttrademark"), QStringLiteral("™")},
        {QStringLiteral("dots"), QStringLiteral("…")},
        {QStringLiteral("ldots"), QStringLiteral("…")},
        {QStringLiteral("textellipsis"), QStringLiteral("…")},
        {QStringLiteral("textperiodcentered"), QStringLiteral("·")},
        {QStringLiteral("textbullet"), QStringLiteral("•")},
        {QStringLiteral("space"), QStringLiteral(" ")},
        {QStringLiteral("quad"), QStringLiteral(" ")},
        {QStringLiteral("qquad"), QStringLiteral(" ")},
        {QStringLiteral("newline"), QStringLiteral(" ")},
        {QStringLiteral("par"), QStringLiteral(" ")},
    };
    return symbols;
}

// Font and size switches: they change how the text looks, not what it says.
bool IsSwitch(const QString& name) {
    static const QStringList switches{
        QStringLiteral("it"),         QStringLiteral("bf"),           QStringLiteral("em"),
        QStringLiteral("rm"),         QStringLiteral("sc"),           QStringLiteral("sf"),
        QStringLiteral("tt"),         QStringLiteral("sl"),           QStringLiteral("up"),
        QStringLiteral("normalfont"), QStringLiteral("itshape"),      QStringLiteral("bfseries"),
        QStringLiteral("scshape"),    QStringLiteral("upshape"),      QStringLiteral("mdseries"),
        QStringLiteral("rmfamily"),   QStringLiteral("sffamily"),     QStringLiteral("ttfamily"),
        QStringLiteral("small"),      QStringLiteral("footnotesize"), QStringLiteral("large"),
        QStringLiteral("Large"),      QStringLiteral("normalsize"),   QStringLiteral("relax"),
        QStringLiteral("protect"),
    };
    return switches.contains(name);
}

class Decoder {
public:
    explicit Decoder(const QString& tex) : m_tex(tex) {}

    QString All() {
        QString out;
        while (m_pos < m_tex.size()) {
            Step(out);
        }
        return out;
    }

private:
    bool At(QChar c) const { return m_pos < m_tex.size() && m_tex[m_pos] == c; }

    void Step(QString& out) {
        const QChar c = m_tex[m_pos];
        if (c == QLatin1Char('{') || c == QLatin1Char('}') || c == QLatin1Char('$')) {
            ++m_pos;
        } else if (c == QLatin1Char('\\')) {
            Command(out);
        } else if (c == QLatin1Char('~')) {
            ++m_pos;
            out += QLatin1Char(' ');
        } else if (c == QLatin1Char('-')) {
            qsizetype run = 0;
            while (At(QLatin1Char('-'))) {
                ++run;
                ++m_pos;
            }
            out += run == 2   ? QStringLiteral("–")
                   : run == 3 ? QStringLiteral("—")
                              : QString(run, QLatin1Char('-'));
        } else if ((c == QLatin1Char('`') || c == QLatin1Char('\'')) && m_pos + 1 < m_tex.size() &&
                   m_tex[m_pos + 1] == c) {
            m_pos += 2;
            out += c == QLatin1Char('`') ? QStringLiteral("“") : QStringLiteral("”");
        } else {
            ++m_pos;
            out += c;
        }
    }

    // The text of a group "{...}" at the current place, decoded; the group is passed.
    QString Group() {
        ++m_pos;
        const qsizetype begin = m_pos;
        int depth = 0;
        while (m_pos < m_tex.size() && !(depth == 0 && At(QLatin1Char('}')))) {
            depth += At(QLatin1Char('{')) ? 1 : At(QLatin1Char('}')) ? -1 : 0;
            ++m_pos;
        }
        const QString inner = m_tex.sliced(begin, m_pos - begin);
        if (m_pos < m_tex.size()) {
            ++m_pos;
        }
        return Decoder(inner).All();
    }

    // What an accent stands on: a group, a command such as \i, or the next character.
    QString AccentBase() {
        if (At(QLatin1Char('{'))) {
            return Group();
        }
        QString base;
        if (m_pos < m_tex.size()) {
            At(QLatin1Char('\\')) ? Command(base) : Step(base);
        }
        return base;
    }

    void SkipSpaces() {
        while (At(QLatin1Char(' '))) {
            ++m_pos;
        }
    }

    void Command(QString& out) {
        ++m_pos;
        if (m_pos >= m_tex.size()) {
            return;
        }
        QString name;
        while (m_pos < m_tex.size() && m_tex[m_pos].isLetter() && m_tex[m_pos].unicode() < 0x80) {
            name += m_tex[m_pos++];
        }
        const bool word = !name.isEmpty();
        if (!word) {
            name = m_tex[m_pos++];
        } else {
            SkipSpaces();
        }
        if (const auto accent = Accents().constFind(name); accent != Accents().constEnd()) {
            QString base = AccentBase();
            if (base.isEmpty()) {
                base = QLatin1Char(' ');
            }
            // The dotless letters carry accents as the dotted ones do.
            if (base[0] == QChar(0x0131) || base[0] == QChar(0x0237)) {
                base[0] = base[0] == QChar(0x0131) ? QLatin1Char('i') : QLatin1Char('j');
            }
            out += (base.first(1) + QChar(*accent)).normalized(QString::NormalizationForm_C) +
                   base.sliced(1);
            return;
        }
        if (const auto symbol = Symbols().constFind(name); symbol != Symbols().constEnd()) {
            // "\ss{}" ends the command with an empty group.
            if (word && m_pos + 1 < m_tex.size() && At(QLatin1Char('{')) &&
                m_tex[m_pos + 1] == QLatin1Char('}')) {
                m_pos += 2;
            }
            out += *symbol;
            return;
        }
        if (word && IsSwitch(name)) {
            if (m_pos + 1 < m_tex.size() && At(QLatin1Char('{')) &&
                m_tex[m_pos + 1] == QLatin1Char('}')) {
                m_pos += 2;
            }
            return;
        }
        if (!word) {
            // \& \% \# \_ \{ \} \$ and the like stand for themselves; \- \/ \, are spacing hints.
            if (name == QLatin1String("-") || name == QLatin1String("/")) {
                return;
            }
            out += name == QLatin1String(",") || name == QLatin1String("\\") ? QStringLiteral(" ")
                                                                             : name;
            return;
        }
        // Other commands: a formatting command leaves the text of its argument; one without an
        // argument ("\LaTeX{}") its name.
        if (At(QLatin1Char('{'))) {
            const QString argument = Group();
            out += argument.isEmpty() ? name : argument;
            return;
        }
        out += name;
    }

    const QString& m_tex;
    qsizetype m_pos = 0;
};

}  // namespace

QString TexText::ToUnicode(const QString& tex) {
    return Decoder(tex).All().simplified();
}
