#pragma once

#include <CFormView.h>
#include <COleVariant.h>

#include <QString>
#include <array>

class CDaoRecordset;
class CPeriolexDoc;

// The record form: one article record of the catalogue's record set at a time, in four fields,
// with the position caption under them. The record set belongs to the document and is shared by
// every window of the catalogue; the view remembers which record it shows, so that it writes what
// the user typed into that record and no other.
class CPeriolexView : public CFormView {
public:
    // The hint with which one window tells the other windows of its catalogue that the shared
    // set changed under them: records added or deleted, or the set opened anew by a query.
    static constexpr long kHintSetChanged = 1;

    CPeriolexView();

    CPeriolexDoc* GetDocument() const;

    void OnUpdate(CView* pSender, long lHint, void* pHint) override;
    void CommitPendingInput() override;

    // The current record into the form, and the form into the record it shows.
    void LoadRecord();
    void SaveRecord();

    QString m_Zeitschriftennummer;
    QString m_Artikelname;
    QString m_Zeitschriftenname;
    QString m_Seite;
    QString m_Datensatz;
    int m_nPrintPage = 1;
    QString m_Anzahl;
    CDaoRecordset* m_pSet = nullptr;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    void OnDatensatzErster();
    void OnDatensatzLetzter();
    void OnDatensatzNaechster();
    void OnDatensatzVorheriger();
    void OnDatensatzHinzufuegen();
    void OnDatensatzLoeschen();
    void OnQuery();
    void OnClearQuery();

public:
    // Printing (CPeriolexViewPrinting.cpp): the record set as a table, 45 records a page.
    static constexpr long kRecordsPerPage = 45;
    // The pages `records` records fill; an empty catalogue still prints its one page.
    static unsigned PageCount(long records);
    bool OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;

protected:
    void PrintPageHeader(CDC* pDC, CPrintInfo* pInfo);
    void PrintPageFooter(CDC* pDC, CPrintInfo* pInfo);

    DECLARE_MESSAGE_MAP()

private:
    // Stores the form, then makes the record it shows the current one. False, and the first
    // record of the set shown instead, when that record has left the set; false also when there
    // is no record to step from.
    bool SaveAndReturnToShownRecord();
    void ShowFirstRecord();
    void PositionOnShownRecord();
    // Another window added or deleted records: the count and position follow, typed text stays.
    void FollowOtherWindow();
    void SetCaption(const QString& position);
    // Closes and opens the shared set with `statement`; on failure reports it, goes back to the
    // whole table if it can and returns false.
    bool ReopenSet(const QString& statement);
    // After the set was opened anew: count, first record, and word to the other windows.
    void ShowReopenedSet();
    void TellOtherWindows(long hint);

    // Fields 1 to 4 of the record as the form holds them.
    std::array<QString*, 4> FormFields();
    void ShowNoRecord();

    bool m_bShowsRecord = false;
    COleVariant m_shownKey;
    std::array<QString, 4> m_loadedTexts;
};
