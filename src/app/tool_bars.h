#pragma once

class CommandControls;
class QFrame;
class QWidget;

// The bar of tool buttons above the editor, "Panel3" (the file and edit groups).
QFrame* BuildTopBar(CommandControls& commands, QWidget* parent);
// The panel of tool buttons beside the editor, "Panel2" (files, generators and tools).
QFrame* BuildToolPanel(CommandControls& commands, QWidget* parent);
