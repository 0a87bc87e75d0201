#include "app/SkinClasses.h"

#include "platform/toolkit/Component.h"
#include "skin/SKButton.h"
#include "skin/SKEdit.h"
#include "skin/SKForm.h"
#include "skin/SKImagePanel.h"
#include "skin/SKListView.h"
#include "skin/SKThemeFile.h"

void RegisterSkinClasses() {
    static const bool done = [] {
        tk::RegisterToolkitClasses();
        sk::RegisterSkinButtonClasses();
        sk::RegisterSkinPanelClasses();
        sk::RegisterSkinFrameClasses();
        sk::RegisterSkinListViewClasses();
        sk::RegisterSkinEditClasses();
        sk::RegisterThemeFileClasses();
        return true;
    }();
    (void)done;
}
