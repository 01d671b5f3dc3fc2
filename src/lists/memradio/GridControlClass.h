// The list windows' grid as a control class of their templates ("CGridWidget").
#pragma once

// Registers the class once; later calls do nothing.
void RegisterGridControlClass();
