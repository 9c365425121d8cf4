#include <AfxRes.h>
#include <CDataExchange.h>
#include <CWnd.h>
#include <DialogBuilder.h>

#include <QLabel>
#include <QLineEdit>
#include <functional>
#include <string_view>

#include "support/ProgramTest.h"

namespace {

constexpr unsigned kPosition = 1001;
constexpr unsigned kField = 1002;
constexpr DialogItem kItems[] = {
    {"STATIC", kPosition, "", 5, 5, 100, 8, WS_CHILD | WS_VISIBLE},
    {"EDIT", kField, "", 5, 20, 100, 14, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP},
};
constexpr DialogResource kTemplate{4711, "Probe", 400, 40, 0, "MS Shell Dlg", 8, kItems};

class TemplateWindow : public CWnd {
public:
    explicit TemplateWindow(QWidget* outer = nullptr) {
        auto* widget = new QWidget(outer);
        widget->resize(1000, 200);
        Attach(widget);
        SetControls(DialogBuilder::Build(kTemplate, widget, {}));
    }

    QLabel* Position() const { return qobject_cast<QLabel*>(GetDlgItem(kPosition)); }
    QLineEdit* Field() const { return qobject_cast<QLineEdit*>(GetDlgItem(kField)); }

    void ShowPosition(QString text) {
        CDataExchange dx(this, false);
        DDX_Text(&dx, kPosition, text);
    }
};

class DataExchangeTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureTestApplication(); }
};

// Whatever takes room from a label's text, a text that no longer fits widens the label to the
// whole text, and a text that fits leaves it as the template made it.
TEST_F(DataExchangeTest, ALabelWidensWhereverItsTextWouldBeClipped) {
    const QString text = QStringLiteral("Datensatz 1 von 9");
    const std::pair<const char*, std::function<void(QLabel*, int slack)>> narrowings[] = {
        {"nothing", [](QLabel*, int) {}},
        {"margin", [](QLabel* label, int slack) { label->setMargin(slack / 2 + 2); }},
        {"indent", [](QLabel* label, int slack) { label->setIndent(slack + 2); }},
        // A framed label also keeps the width of an "x" free, which alone tips this one over.
        {"frame",
         [](QLabel* label, int slack) {
             const int x = label->fontMetrics().horizontalAdvance(QLatin1Char('x'));
             label->setFrameStyle(QFrame::Box | QFrame::Plain);
             label->setLineWidth((slack - x) / 2 + 1);
         }},
        {"font",
         [](QLabel* label, int) {
             QFont larger = label->font();
             larger.setPointSizeF(larger.pointSizeF() * 3);
             label->setFont(larger);
         }},
    };
    for (const auto& [name, narrow] : narrowings) {
        SCOPED_TRACE(name);
        TemplateWindow window;
        QLabel* label = window.Position();
        const int templateWidth = label->width();
        window.ShowPosition(text);
        ASSERT_LE(label->sizeHint().width(), templateWidth) << "the text must fit at first";
        ASSERT_EQ(label->width(), templateWidth);

        narrow(label, templateWidth - label->sizeHint().width());
        window.ShowPosition(text);
        const bool narrowed = std::string_view(name) != "nothing";
        ASSERT_EQ(label->sizeHint().width() > templateWidth, narrowed);
        EXPECT_EQ(label->width(), narrowed ? label->sizeHint().width() : templateWidth);
    }
}

TEST_F(DataExchangeTest, ALongPositionWidensItsLabelAndAShortOneLeavesIt) {
    TemplateWindow window;
    QLabel* label = window.Position();
    const int templateWidth = label->width();
    window.ShowPosition(QStringLiteral("Datensatz 10000000 von 10000000 (gefiltert)"));
    EXPECT_GT(label->width(), templateWidth);
    EXPECT_EQ(label->width(), label->sizeHint().width());
    const int widened = label->width();
    window.ShowPosition(QStringLiteral("Datensatz 1 von 2"));
    EXPECT_EQ(label->width(), widened) << "a label never shrinks under the user's eyes";
}

// Template texts are drawn letter by letter, yet in the font of the window around them, and
// they follow it when it changes.
TEST_F(DataExchangeTest, TemplateTextsAreUnshapedButFollowTheFontAroundThem) {
    QWidget outer;
    TemplateWindow window(&outer);
    for (QWidget* control :
         {static_cast<QWidget*>(window.Position()), static_cast<QWidget*>(window.Field())}) {
        EXPECT_TRUE(control->font().styleStrategy() & QFont::PreferNoShaping);
        EXPECT_EQ(control->font().family(), outer.font().family());
        EXPECT_EQ(control->font().pointSizeF(), outer.font().pointSizeF());
    }
    QFont larger = outer.font();
    larger.setPointSizeF(larger.pointSizeF() + 4);
    larger.setItalic(true);
    outer.setFont(larger);
    EXPECT_EQ(window.Field()->font().pointSizeF(), larger.pointSizeF());
    EXPECT_TRUE(window.Field()->font().italic());
    EXPECT_TRUE(window.Field()->font().styleStrategy() & QFont::PreferNoShaping);
}

}  // namespace
