#pragma once

#include <CWnd.h>

#include <QPixmap>

class QEvent;

// The picture shown, without border, in the middle of the screen while the program starts. It
// goes at the first tick of its timer once the program runs, or at once on any key or mouse-button
// press in the program; that press does nothing else.
class CSplashWnd : public CWnd {
public:
    ~CSplashWnd() override;

    static void SetSplashEnabled(bool bEnable);
    static void ShowSplash(CWnd* pParentWnd);
    // True when the event closed the splash and must go no further.
    static bool FilterSplashMessage(QEvent* event);
    // The splash that is up, or null.
    static CSplashWnd* Current() { return s_pSplash; }

    void HideSplash();

private:
    CSplashWnd() = default;
    bool CreateSplash(CWnd* pParentWnd);

    QPixmap m_splashBitmap;

    static bool s_bSplashEnabled;
    static CSplashWnd* s_pSplash;
    static int s_nSwallowKey;  // the key whose override closed the splash
};
