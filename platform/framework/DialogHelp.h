#pragma once

class QWidget;

// F1 in a dialog or message box shows the help page of the topic `nIDHelp` (a help-topic number
// of the resources). Nothing happens for a number without a topic.
void AfxEnableDialogHelp(QWidget* dialog, unsigned nIDHelp);
