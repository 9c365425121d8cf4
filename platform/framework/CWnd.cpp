#include "CWnd.h"

#include "AfxMessageBox.h"
#include "AfxRes.h"
#include "CDataExchange.h"

CWnd::~CWnd() {
    DestroyWindow();
}

QWidget* CWnd::GetDlgItem(unsigned id) const {
    auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

unsigned CWnd::GetDlgCtrlID(const QWidget* control) const {
    for (const auto& [id, widget] : m_controls) {
        if (widget == control) {
            return id;
        }
    }
    return 0;
}

bool CWnd::UpdateData(bool bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return !dx.Failed();
}

void CWnd::DoDataExchange(CDataExchange*) {}

int CWnd::MessageBox(const QString& text, const QString& caption, unsigned type) {
    return AfxMessageBox(text, type, caption, m_pWidget ? m_pWidget->window() : nullptr);
}

void CWnd::SetWindowText(const QString& text) {
    if (m_pWidget) {
        m_pWidget->setWindowTitle(text);
    }
}

QString CWnd::GetWindowText() const {
    return m_pWidget ? m_pWidget->windowTitle() : QString();
}

void CWnd::ShowWindow(int nCmdShow) {
    if (!m_pWidget) {
        return;
    }
    if (nCmdShow == SW_SHOWMAXIMIZED) {
        m_pWidget->showMaximized();
    } else {
        m_pWidget->setVisible(nCmdShow != SW_HIDE);
    }
}

void CWnd::UpdateWindow() {
    if (m_pWidget) {
        m_pWidget->repaint();
    }
}

void CWnd::DestroyWindow() {
    m_controls.clear();
    if (m_pWidget) {
        m_pWidget->hide();
        m_pWidget->deleteLater();
        m_pWidget = nullptr;
    }
}

void CWnd::Attach(QWidget* widget) {
    m_pWidget = widget;
}
