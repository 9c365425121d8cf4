#pragma once

#include <COleVariant.h>

#include <QString>
#include <cstddef>
#include <vector>

// A field that the user changed while someone else stored another text into it.
struct ConflictField {
    std::size_t field;  // 0 to 3: magazine number, magazine name, article name, page
    QString typed;
    QString stored;
    COleVariant storedValue;
};

// Asks what becomes of the user's texts when others changed the same fields of the record
// meanwhile: "keep mine" (IDYES) overwrites the stored texts, "take the stored texts" (IDNO) puts
// them into the form, "back to the form" (IDCANCEL) writes nothing. Answered through the modal
// seam in tests; the request's text lists every field with both texts.
class CConflictDlg {
public:
    CConflictDlg(const QString& recordName, const std::vector<ConflictField>& fields);

    int DoModal();
    // The question as one text: the record, then each field with what was typed and stored.
    QString Text() const;

private:
    QString m_strRecord;
    std::vector<ConflictField> m_fields;
};
