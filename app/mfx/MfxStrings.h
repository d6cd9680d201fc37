// String resources of the class library extensions (MfxStrings.rc).
#pragma once

#define IDS_MFX_READY 50002   // "Fertig!"
#define IDS_MFX_PLEASE_WAIT 50006 // "Moment bitte..."
