#pragma once

#include <vector>

class CMDIFrameWnd;
struct KeyboardLocks;
class QLabel;
class QStatusBar;

// The status bar: a message pane (idle text, menu and button prompts) and indicator panes whose
// texts come from the string table under the indicator's number.
class CStatusBar {
public:
    bool Create(CMDIFrameWnd* pParent, unsigned style, unsigned nID);
    bool SetIndicators(const unsigned* lpIDArray, int nIDCount);

    QStatusBar* Widget() const { return m_pBar; }
    QLabel* Pane(int index) const;
    // Shows the text of indicator `id` in its pane, or leaves the pane empty.
    void SetIndicator(unsigned id, bool on);
    void ShowLocks(const KeyboardLocks& locks);

private:
    QStatusBar* m_pBar = nullptr;
    std::vector<unsigned> m_ids;
    std::vector<QLabel*> m_panes;
};
