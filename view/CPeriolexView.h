#pragma once

#include <CFormView.h>
#include <COleVariant.h>
#include <FieldMerge.h>

#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <vector>

struct ArticleQuery;

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
    bool CommitPendingInput() override;

    // The current record into the form, and the form into the record it shows. SaveRecord is
    // false when the user, asked about a conflict, went back to the form: nothing was written.
    void LoadRecord();
    bool SaveRecord();

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
    // Runs a command on the catalogue: the form is stored, then `then` runs, both in one
    // transaction, which is a write transaction only when something may be written. A conflict
    // with another user's change, or the shown record deleted elsewhere, is settled with the
    // user between transactions, so that no lock is held while a dialog waits. False, with
    // nothing written and `then` not run, when the user went back to the form.
    bool StoreFormThen(const std::function<void()>& then, bool alwaysWrite = false);
    // The fields whose text in the form differs from what was loaded.
    std::vector<FieldChange> FormChanges();
    // The user's choice in a conflict: false for "back to the form".
    bool SettleConflict(const std::vector<FieldChange>& changes,
                        const std::vector<COleVariant>& current);
    // The record being typed into was deleted elsewhere: true and `storeAsNew` set when the
    // user keeps the texts as a new record; true with the texts dropped otherwise.
    bool SettleDeletedRecord(bool& storeAsNew);
    void StoreFormAsNewRecord();
    // A store that nobody asked for met a question; the status bar says it comes with the next
    // command.
    void AnnounceQuestion(MergeOutcome outcome);
    // The four texts of the form, one line each with the field's name.
    QString TypedTexts();
    // The record as a conflict question names it: its caption and its magazine and article.
    QString RecordName() const;

    // What the form shows and knows about its record, to go back to when a command fails.
    struct FormState {
        bool showsRecord;
        COleVariant key;
        QString position;
        QString count;
        std::array<QString, 4> texts;
        std::array<QString, 4> loadedTexts;
        std::array<COleVariant, 4> loadedValues;
    };
    FormState CaptureForm();
    void RestoreForm(const FormState& state);

    // Makes the record the form shows the current one. False, and the first record of the set
    // shown instead, when that record has left the set; false also when there is no record to
    // step from.
    bool ReturnToShownRecord();
    void ShowFirstRecord();
    void PositionOnShownRecord();
    // Records were added or deleted, or the set opened anew, by another window or another
    // program: the count and position follow. Typed text always stays. With `reloadUnchanged`
    // (the file changed) an unchanged form shows the record's current texts.
    void FollowSetChange(bool reloadUnchanged);
    // After FollowSetChange: the typed text of a record that left the set is stored now. When
    // the change came from elsewhere with no command of the user's, a question it raises waits
    // for the next command.
    void StoreRecordThatLeftTheSet(bool unasked);
    void SetCaption(const QString& position);
    // Shows the caption as set, and nothing else of the form.
    void ShowCaption();
    // Closes and opens the shared set with `statement`; on failure reports it, goes back to the
    // whole table if it can and returns false.
    bool ReopenSet(const ArticleQuery& query);
    // After the set was opened anew: count, first record, and word to the other windows.
    void ShowReopenedSet();
    void TellOtherWindows(long hint);

    // Fields 1 to 4 of the record as the form holds them.
    std::array<QString*, 4> FormFields();
    void ShowNoRecord();

    bool m_bShowsRecord = false;
    COleVariant m_shownKey;
    QString m_strShownPosition;
    // The shown record's fields as loaded: as the form shows them, and as the file held them
    // (NULL is not the empty text), for the comparison when storing.
    std::array<QString, 4> m_loadedTexts;
    std::array<COleVariant, 4> m_loadedValues;
    // A store runs that no command of the user's asked for.
    bool m_bStoringUnasked = false;
    // A store runs now; it may be waiting for the user's answer to a question.
    bool m_bStoring = false;
    // Work posted for after the running command; it ends with the view, not with its widget,
    // which outlives the view until Qt deletes it later.
    QObject m_postedWork;
};
