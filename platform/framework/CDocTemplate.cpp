#include "CDocTemplate.h"

#include <QStringList>

#include "AfxRes.h"
#include "CDocument.h"
#include "CMDIChildWnd.h"
#include "CView.h"
#include "ResourceLookup.h"

CDocTemplate::CDocTemplate(unsigned nIDResource, DocumentFactory newDocument, FrameFactory newFrame,
                           ViewFactory newView)
    : m_nIDResource(nIDResource),
      m_newDocument(std::move(newDocument)),
      m_newFrame(std::move(newFrame)),
      m_newView(std::move(newView)) {}

CDocTemplate::~CDocTemplate() {
    for (CDocument* doc : std::vector<CDocument*>(m_documents)) {
        doc->m_pDocTemplate = nullptr;
    }
}

QString CDocTemplate::GetDocString(DocStringIndex index) const {
    const QStringList fields = AfxLoadString(m_nIDResource).split(QLatin1Char('\n'));
    return index < fields.size() ? fields[index] : QString();
}

CDocument* CDocTemplate::OpenDocumentFile(const QString& pathName) {
    CDocument* doc = m_newDocument();
    doc->m_pDocTemplate = this;
    m_documents.push_back(doc);
    CMDIChildWnd* frame = CreateNewFrame(doc);

    // The window is not shown before the document opened; a document that does not open
    // takes it along, also when a failure escapes the open.
    auto discard = [frame, doc] {
        frame->DestroyFrame();
        delete doc;
    };
    bool ok = false;
    try {
        if (pathName.isEmpty()) {
            doc->SetTitle(GetDocString(docName) + QStringLiteral("1"));
            ok = doc->OnNewDocument();
        } else {
            CCmdTarget::BeginWaitCursor();
            ok = doc->OnOpenDocument(pathName);
            CCmdTarget::EndWaitCursor();
        }
    } catch (...) {
        discard();
        throw;
    }
    if (!ok) {
        discard();
        return nullptr;
    }
    if (!pathName.isEmpty()) {
        doc->SetPathName(pathName);
    }
    InitialUpdateFrame(frame, doc);
    return doc;
}

CMDIChildWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc) {
    CMDIChildWnd* frame = m_newFrame();
    frame->LoadFrame(m_nIDResource);
    CView* view = m_newView();
    pDoc->AddView(view);
    view->Create(frame);
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CMDIChildWnd* pFrame, CDocument* pDoc) {
    pDoc->UpdateFrameCounts();
    pFrame->ShowFrame();
    if (CView* view = pFrame->GetActiveView()) {
        view->OnInitialUpdate();
    }
}

void CDocTemplate::RemoveDocument(CDocument* pDoc) {
    std::erase(m_documents, pDoc);
}
