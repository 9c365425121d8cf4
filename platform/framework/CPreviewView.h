#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>
#include <exception>
#include <map>
#include <memory>
#include <vector>

#include "CPrintInfo.h"

class CView;
class PreviewCanvas;
class QLabel;
class QPushButton;
class QScrollArea;
class QWidget;

// The print preview of a view, shown inside the main window in place of the document windows,
// with its own button bar. Pages are drawn by the view's OnPrint when they come on screen and at
// no other time, so a catalogue of any size opens at once. The view owns its preview.
class CPreviewView {
public:
    explicit CPreviewView(CView* pView);
    // Gives the document windows, menus and tool bars back to the main window.
    ~CPreviewView();
    CPreviewView(const CPreviewView&) = delete;
    CPreviewView& operator=(const CPreviewView&) = delete;

    // The preview showing now, if any: there is one at a time.
    static CPreviewView* Current();

    // Prepares the printing as a preview and shows page 1; false when the view refuses.
    bool Open();
    // The view whose pages show.
    CView* GetView() const { return m_pView; }

    unsigned GetCurrentPage() const { return m_nCurrentPage; }
    unsigned GetPageCount() const { return m_info.GetMaxPage(); }
    bool IsTwoPages() const { return m_bTwoPages; }
    int GetZoom() const { return m_nZoom; }
    QString PageIndicator() const;

    QWidget* Widget() const { return m_pWidget; }
    PreviewCanvas* Canvas() const { return m_pCanvas; }
    // The bar's button labelled with string `labelId` (AFX_IDS_PREVIEW_*_LABEL).
    QPushButton* Button(unsigned labelId) const;

    void GoToPage(unsigned page);
    void NextPage();
    void PrevPage();
    void ToggleTwoPages();
    void ZoomIn();
    void ZoomOut();
    // Ends the preview, then prints through the print command.
    void Print();
    void Close();

    // Page `page` as a sheet of paper of the printer's size, `pixelsPerInch`.
    QImage RenderPage(unsigned page, double pixelsPerInch);

private:
    void BuildWidget();
    QPushButton* AddButton(unsigned labelId, unsigned promptId, void (CPreviewView::*handler)());
    void ShowPages();
    unsigned LastShownPage() const;
    void ReportFailure(std::exception_ptr failure);

    CView* m_pView;
    CPrintInfo m_info;
    bool m_bBegun = false;
    unsigned m_nCurrentPage = 1;
    bool m_bTwoPages = false;
    int m_nZoom = 0;

    QPointer<QWidget> m_pWidget;
    PreviewCanvas* m_pCanvas = nullptr;
    QScrollArea* m_pScroll = nullptr;
    QLabel* m_pIndicator = nullptr;
    std::map<unsigned, QPushButton*> m_buttons;

    // What the preview took from the main window, to give back.
    QPointer<QWidget> m_pDocumentArea;
    std::vector<QPointer<QWidget>> m_hiddenBars;
    QPointer<QWidget> m_pFocus;
    // Work put off until a paint event is over dies with the preview.
    std::unique_ptr<QObject> m_pAlive;
};
