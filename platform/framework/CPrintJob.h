#pragma once

class CPrintInfo;
class CView;

// One printing of a view, in the order every printing keeps: OnPreparePrinting (which asks the
// user unless the printing is direct), OnBeginPrinting, then for each chosen page a fresh device
// context, OnPrepareDC and OnPrint, and last OnEndPrinting.
class CPrintJob {
public:
    // False when nothing was printed: the user cancelled, or the printer could not be started
    // (which is reported). Record-store failures of the view pass through.
    static bool Run(CView& view, CPrintInfo& info);
};
