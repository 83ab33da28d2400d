#pragma once

namespace vexilon {

// The progress bar that docks and task bars draw on the console's entry
// (the launcher-entry signal that KDE Plasma, GNOME's docks and others
// listen to). Without a session bus it does nothing.
class LauncherEntry {
public:
    // `progress` from 0 to 1.
    void showProgress(double progress);
    void hideProgress();

private:
    void send(double progress, bool visible);
    double last_ = -1;
    bool visible_ = false;
};

} // namespace vexilon
