#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <map>

#include "CCmdTarget.h"

class CDataExchange;

// A window: a command target with a Qt widget, and, for windows made from a dialog template,
// its controls by number.
class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    QWidget* GetSafeHwnd() const { return m_pWidget.data(); }
    QWidget* GetDlgItem(unsigned id) const;
    // The number of one of this window's controls; 0 for any other widget.
    unsigned GetDlgCtrlID(const QWidget* control) const;

    // Runs the data exchange: false moves members into the controls, true controls into members.
    // False when a check of the exchange failed (the failing control then has the focus).
    bool UpdateData(bool bSaveAndValidate = true);

    int MessageBox(const QString& text, const QString& caption = {}, unsigned type = 0);

    void SetWindowText(const QString& text);
    QString GetWindowText() const;
    // SW_HIDE, SW_SHOW or SW_SHOWMAXIMIZED.
    void ShowWindow(int nCmdShow);
    // Paints the window now rather than at the next turn of the event loop.
    void UpdateWindow();
    // Ends the window; its widget goes at the next turn of the event loop.
    void DestroyWindow();

protected:
    virtual void DoDataExchange(CDataExchange* pDX);

    void Attach(QWidget* widget);
    void SetControls(std::map<unsigned, QWidget*> controls) { m_controls = std::move(controls); }

private:
    QPointer<QWidget> m_pWidget;
    std::map<unsigned, QWidget*> m_controls;
};
