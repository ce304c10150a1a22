#pragma once
// Plugs the channel windows into the frame: the channel table, the channel edit
// dialog, the channel-edit commands and the notifications that keep them current.
namespace tarvane {

struct Program;
class frmMain;

// Registers "frmCommChInfo" and "FrmCHInfoEdit", carries out the frame's
// channel-edit commands on the channel table, gives them their shortcuts, and
// shows the channel-edit menu and toolbar group only while the table is active.
void RegisterChannelWindows(frmMain& m);

// Shows the channel edit dialog inside the frame beside the channel table, or
// brings the open one forward, loaded for the table's channel.
void ShowChannelEditDialog(frmMain& m);

} // namespace tarvane
