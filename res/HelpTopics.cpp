#include <DaoErrorCode.h>

#include "PeriolexTables.h"
#include "Resource.h"

namespace {

// F1 shows the page of the focused field, else of the active window.
constexpr HelpTopic kHelpTopics[] = {
    {IDR_MAINFRAME, "index.html"},
    {IDR_PERIOLTYPE, "formular.html"},
    {IDC_ZEITSCHRIFTENNUMMER, "formular.html#zeitschriftennummer"},
    {IDC_ZEITSCHRIFTENNAME, "formular.html#zeitschriftenname"},
    {IDC_ARTIKELNAME, "formular.html#artikelname"},
    {IDC_SEITE, "formular.html#seite"},
    {IDC_DATENSATZ, "formular.html#position"},
    {ID_DATENSATZ_ERSTER, "blaettern.html"},
    {ID_DATENSATZ_VORHERIGER, "blaettern.html"},
    {ID_DATENSATZ_NAECHSTER, "blaettern.html"},
    {ID_DATENSATZ_LETZTER, "blaettern.html"},
    {ID_DATENSATZ_HINZUFUEGEN, "hinzufuegen.html#hinzufuegen"},
    {ID_DATENSATZ_LOESCHEN, "hinzufuegen.html#loeschen"},
    {IDC_ABFRAGE, "abfrage.html"},
    {IDC_ABFRAGE_LOESCHEN, "abfrage.html"},
    {IDD_ABFRAGE, "abfrage.html"},
    {IDH_CONFLICT, "gemeinsam.html#konflikt"},
    {IDH_DELETED_ELSEWHERE, "gemeinsam.html#geloescht"},
    {IDH_SERVER_PASSWORD, "team.html#kennwort"},
    // Messages of the record store, under the number of their text.
    {AFX_IDP_DAO_EXTENDED_FIRST + DaoErrorCode::kConnectionLost, "team.html#verbindung"},
    {AFX_IDP_DAO_EXTENDED_FIRST + DaoErrorCode::kCommitUnknown, "team.html#verbindung"},
    {AFX_IDP_DAO_EXTENDED_FIRST + DaoErrorCode::kLocked, "team.html#warten"},
    {AFX_IDP_DAO_EXTENDED_FIRST + DaoErrorCode::kServerTooSlow, "team.html#warten"},
    {AFX_IDP_DAO_EXTENDED_FIRST + DaoErrorCode::kCancelled, "team.html#warten"},
    {IDH_IMPORT, "austausch.html#import"},
    {IDH_EXPORT, "austausch.html#export"},
};

}  // namespace

std::span<const HelpTopic> PeriolexHelpTopics() {
    return kHelpTopics;
}
