// How the window serves the session's side files: files to print go to
// PrintTermFile (printer log, record file, escape log), ESC 0 prints the
// screen, documents (the communications log, display dumps) open in the
// desktop's text editor, and SaveRecordFile asks its questions in a file
// chooser titled "Save Record File As" and a yes/no box titled "Save Record
// File".
#pragma once

class QWidget;

namespace kalvor {
class Session;
}

namespace kalvor::ui {

class Printing;

void ConnectSideFiles(Session& session, QWidget* window, Printing& printing);

} // namespace kalvor::ui
