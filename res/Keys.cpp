#include "PeriolexTables.h"
#include "Resource.h"

namespace {

constexpr unsigned kKey = FVIRTKEY | FNOINVERT;

// Accelerator table 128, in table order. Add and Delete sit on Ctrl+Alt like the other record
// commands: bare letters would be taken away from the form's fields.
constexpr AcceleratorEntry kAccelerators[] = {
    {kKey | FCONTROL | FALT, 'A', ID_DATENSATZ_HINZUFUEGEN},
    {kKey | FCONTROL, 'C', ID_EDIT_COPY},
    {kKey | FCONTROL | FALT, 'D', ID_DATENSATZ_LOESCHEN},
    {kKey | FCONTROL | FALT, 'F', ID_DATENSATZ_ERSTER},
    {kKey | FCONTROL | FALT, 'L', ID_DATENSATZ_LETZTER},
    {kKey | FCONTROL, 'N', ID_FILE_NEW},
    {kKey | FCONTROL | FALT, 'N', ID_DATENSATZ_NAECHSTER},
    {kKey | FCONTROL, 'O', ID_FILE_OPEN},
    {kKey | FCONTROL, 'P', ID_FILE_PRINT},
    {kKey | FCONTROL | FALT, 'P', ID_DATENSATZ_VORHERIGER},
    {kKey | FCONTROL, 'S', ID_FILE_SAVE},
    {kKey | FCONTROL, 'V', ID_EDIT_PASTE},
    {kKey | FALT, VK_BACK, ID_EDIT_UNDO},
    {kKey | FSHIFT, VK_DELETE, ID_EDIT_CUT},
    {kKey, VK_F1, ID_HELP},
    {kKey | FSHIFT, VK_F1, ID_CONTEXT_HELP},
    {kKey, VK_F6, ID_NEXT_PANE},
    {kKey | FSHIFT, VK_F6, ID_PREV_PANE},
    {kKey | FCONTROL, VK_INSERT, ID_EDIT_COPY},
    {kKey | FSHIFT, VK_INSERT, ID_EDIT_PASTE},
    {kKey | FCONTROL, 'X', ID_EDIT_CUT},
    {kKey | FCONTROL | 0x80, 'Z', ID_EDIT_UNDO},
};

constexpr AcceleratorResource kAcceleratorTables[] = {{IDR_MAINFRAME, kAccelerators}};

// Tool bar 128; 0 is a separator. The pictures are the tiles of bitmap 128 in this order.
constexpr unsigned kToolBarButtons[] = {
    ID_FILE_NEW,
    ID_FILE_OPEN,
    ID_SEPARATOR,
    ID_FILE_PRINT,
    ID_FILE_PRINT_PREVIEW,
    ID_SEPARATOR,
    ID_DATENSATZ_ERSTER,
    ID_DATENSATZ_VORHERIGER,
    ID_DATENSATZ_NAECHSTER,
    ID_DATENSATZ_LETZTER,
    ID_SEPARATOR,
    ID_APP_ABOUT,
    ID_CONTEXT_HELP,
};

constexpr ToolBarResource kToolBars[] = {{IDR_MAINFRAME, 16, 15, kToolBarButtons}};

}  // namespace

std::span<const AcceleratorResource> PeriolexAccelerators() {
    return kAcceleratorTables;
}

std::span<const ToolBarResource> PeriolexToolBars() {
    return kToolBars;
}
