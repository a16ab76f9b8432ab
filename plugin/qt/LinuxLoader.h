// Builds one viewer inside Double Commander's viewer window: the steps of
// ListLoad and ListLoadW once the name has been accepted, and the viewers
// the host holds.
#pragma once

#include <string>

class QWidget;

namespace corvelle::qt {

class ViewerWidget;

// Where the host keeps its configuration: the folder of the INI file that
// ListSetDefaultParams names (Double Commander's wlx.ini), "" before.
void SetHostConfigDir(const std::string& suggestedIni);

// Reads the settings and the file at `path` (once, for every page), and makes
// the viewer as a child of `parent`; null when there is no Qt application to
// show it in. Never throws.
ViewerWidget* LoadViewer(QWidget* parent, const std::string& path);

// The viewer behind a handle the host holds; null for one that is not (or no
// longer) ours.
ViewerWidget* FindViewer(void* handle);

}  // namespace corvelle::qt
