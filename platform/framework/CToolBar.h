#pragma once

class CMDIFrameWnd;
class QToolBar;

// A dockable bar of command buttons, made from a tool bar resource and its bitmap.
class CToolBar {
public:
    bool Create(CMDIFrameWnd* pParent, unsigned style, unsigned nID);
    bool LoadToolBar(unsigned nIDResource);

    unsigned GetBarStyle() const { return m_nBarStyle; }
    void SetBarStyle(unsigned style);
    void EnableDocking(unsigned dockStyle);

    QToolBar* Widget() const { return m_pBar; }

private:
    CMDIFrameWnd* m_pParent = nullptr;
    QToolBar* m_pBar = nullptr;
    unsigned m_nBarStyle = 0;
};
