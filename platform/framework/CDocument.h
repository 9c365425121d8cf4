#pragma once

#include <QString>
#include <vector>

#include "CCmdTarget.h"

class CMDIChildWnd;
class CView;
class CDocTemplate;

// A document: what one open file holds, shown by one or more views. The document owns the frames
// of its views through its template; closing it closes them.
class CDocument : public CCmdTarget {
public:
    CDocument() = default;
    ~CDocument() override;

    virtual bool OnNewDocument();
    // Checks that the file can be read; reports it and returns false when not.
    virtual bool OnOpenDocument(const QString& pathName);
    // Closes every frame of the document, then deletes the document.
    virtual void OnCloseDocument();

    const QString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const QString& title);
    const QString& GetPathName() const { return m_strPathName; }
    // The full name of an address for a tooltip, without what must not be shown; empty for a
    // file.
    const QString& GetToolTip() const { return m_strToolTip; }
    // Sets the path, the title from it, and enters it into the recent-file list.
    // An address (see IsAddressName) names no file: it is kept as written, its title and
    // tooltip come from AddressTitle and AddressToolTip, and it does not enter the recent-file
    // list.
    void SetPathName(const QString& pathName, bool bAddToMRU = true);
    // Whether a name is an address rather than a file: it has a scheme (`scheme://...`), or it is
    // keyword=value words and no file of that name exists.
    static bool IsAddressName(const QString& pathName);

    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
    const std::vector<CView*>& GetViews() const { return m_views; }
    // The windows that show the document, each once.
    std::vector<CMDIChildWnd*> GetFrames() const;
    void AddView(CView* pView);
    void RemoveView(CView* pView);

    // Called a few times a second while no dialog is open: a document whose file others can
    // change looks whether they did and, if so, brings its views up to date. A failure that
    // the user must know of now (the data's source is gone) is thrown, to be reported.
    virtual void CheckForChangesElsewhere() {}
    // A descriptor that turns readable when someone else may have changed the document's
    // data, so that CheckForChangesElsewhere can run at once; -1 when only polling tells.
    virtual int ChangeDescriptor() const { return -1; }

    // Asks every view but the sender to update.
    void UpdateAllViews(CView* pSender, long lHint = 0, void* pHint = nullptr);
    // Gives every view the chance to store what the user typed and has not stored yet.
    // False when a view's user chose to stay.
    bool CommitAllViews();
    // Child frame captions: the title, with ":n" when the document has several windows.
    void UpdateFrameCounts();

protected:
    // An address's title and tooltip: by default the address without its user-info part and
    // its query, or without its password and query; a document that knows its addresses says
    // it better.
    virtual QString AddressTitle(const QString& pathName) const;
    virtual QString AddressToolTip(const QString& pathName) const;
    // "Close": what was typed is stored, then the document and all its windows close.
    void OnFileClose();

    DECLARE_MESSAGE_MAP()

private:
    friend class CDocTemplate;
    CDocTemplate* m_pDocTemplate = nullptr;
    QString m_strTitle;
    QString m_strPathName;
    QString m_strToolTip;
    std::vector<CView*> m_views;
};
