// Quillmark's entry point.
#include "app/QuillmarkApp.h"

wxIMPLEMENT_APP(CQuillmarkApp);
