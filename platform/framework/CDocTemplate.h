#pragma once

#include <QString>
#include <functional>
#include <vector>

class CDocument;
class CMDIChildWnd;
class CView;

// Binds a kind of document to its frame and view, and makes all three for each file opened or
// created. `nIDResource` names the document type's string, menu and icon.
class CDocTemplate {
public:
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName
    };

    using DocumentFactory = std::function<CDocument*()>;
    using FrameFactory = std::function<CMDIChildWnd*()>;
    using ViewFactory = std::function<CView*()>;

    CDocTemplate(unsigned nIDResource, DocumentFactory newDocument, FrameFactory newFrame,
                 ViewFactory newView);
    ~CDocTemplate();

    unsigned GetResourceId() const { return m_nIDResource; }
    QString GetDocString(DocStringIndex index) const;

    // Opens the file, or with an empty path creates a new document. Null when it did not
    // succeed; nothing of the attempt then remains.
    CDocument* OpenDocumentFile(const QString& pathName);
    // Another frame and view on an open document.
    CMDIChildWnd* CreateNewFrame(CDocument* pDoc);
    void InitialUpdateFrame(CMDIChildWnd* pFrame, CDocument* pDoc);

    const std::vector<CDocument*>& GetDocuments() const { return m_documents; }
    void RemoveDocument(CDocument* pDoc);

private:
    unsigned m_nIDResource;
    DocumentFactory m_newDocument;
    FrameFactory m_newFrame;
    ViewFactory m_newView;
    std::vector<CDocument*> m_documents;
};
