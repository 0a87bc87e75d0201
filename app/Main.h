// The main window: the contacts of the open address book above, the
// duplicates of the selected one below, and every command of the program.
#pragma once

#include <memory>
#include <vector>

#include "app/Duplicates.h"
#include "common/oe/CxWab.h"
#include "platform/toolkit/Forms.h"
#include "platform/toolkit/StdCtrls.h"

namespace tk {
class TListItem;
class TListView;
} // namespace tk

namespace sk {
class TskButton;
class TskForm;
class TskListView;
class TskMainMenu;
class TskPanel;
class TskRadioButton;
class TskStatusBar;
} // namespace sk

class TfmMain : public tk::TForm {
    Q_OBJECT
public:
    explicit TfmMain(tk::TComponent* AOwner);
    ~TfmMain() override;

    sk::TskMainMenu* mnMain = nullptr;
    sk::TskForm* sfmMain = nullptr;
    sk::TskPanel* spTop = nullptr;
    tk::TLabel* Label1 = nullptr;
    sk::TskRadioButton* rbtnAll = nullptr;
    sk::TskRadioButton* rbtnDup = nullptr;
    sk::TskButton* btnDelAll = nullptr;
    sk::TskButton* sbtnRefresh = nullptr;
    sk::TskButton* sbtnHelp = nullptr;
    sk::TskButton* sbtnExit = nullptr;
    sk::TskListView* slvItems = nullptr;
    tk::TSplitter* Splitter1 = nullptr;
    sk::TskPanel* spBottom = nullptr;
    tk::TPanel* pButtons = nullptr;
    sk::TskButton* sbtnSelAll = nullptr;
    sk::TskButton* sbtnClear = nullptr;
    sk::TskButton* sbtnDel = nullptr;
    sk::TskListView* slvDups = nullptr;
    sk::TskStatusBar* sbMain = nullptr;

    // The settings block (262 bytes in this order); the options dialog
    // changes it, the settings file keeps it between runs.
    char m_szWabName[260];
    bool m_bCheckMail;
    bool m_bCheckName;

    // The address-book session, from FormCreate to FormDestroy.
    CxWab* Session() const { return m_pCxWab.get(); }

    void LoadSettings();
    void SaveSettings();

    // Re-opens the address book and lists it in the "All Records" view.
    void RefreshRecords();
    // Regroups and refills the contact list for the current view.
    void FillRecordList();
    // Refills the duplicates list for a row of the contact list (or none).
    void FillDuplicateList(tk::TListItem* Row);
    void AddRecordRow(WabRecord* Record, tk::TListView* List);

    bool IsDuplicate(const WabRecord* a, const WabRecord* b) const;
    void GroupDuplicates();
    void DeleteAllDuplicates();

    // Handlers, public so that the options dialog and tests can run them as
    // the window's events do.
    void FormCreate(tk::TObject* Sender);
    void FormDestroy(tk::TObject* Sender);
    void FormCanResize(tk::TObject* Sender, int& NewWidth, int& NewHeight, bool& Resize);
    void spTopResize(tk::TObject* Sender);
    void rbtnAllClick(tk::TObject* Sender);
    void rbtnDupClick(tk::TObject* Sender);
    void slvItemsSelectItem(tk::TObject* Sender, tk::TListItem* Item, bool Selected);
    void slvItemsCustomDrawItem(tk::TObject* Sender, tk::TListItem* Item,
                                tk::TCustomDrawState State, bool& DefaultDraw);
    void sbtnSelAllClick(tk::TObject* Sender);
    void sbtnClearClick(tk::TObject* Sender);
    void sbtnDelClick(tk::TObject* Sender);
    void btnDelAllClick(tk::TObject* Sender);
    void sbtnRefreshClick(tk::TObject* Sender);
    void sbtnHelpClick(tk::TObject* Sender);
    void miHelpWebClick(tk::TObject* Sender);
    void miHelpAboutClick(tk::TObject* Sender);
    void sbtnOptionClick(tk::TObject* Sender);
    void sbtnExitClick(tk::TObject* Sender);
    void miFileExitClick(tk::TObject* Sender);

private:
    TDuplicateCriteria Criteria() const { return {m_bCheckMail, m_bCheckName}; }
    // The session's records in its order (the walk moves the folder's
    // cursor); valid until the next call.
    const std::vector<WabRecord*>& Records();
    // Both lists emptied: their rows point at records about to be freed.
    void ForgetRows();
    // One "Error" box when the last open failed, naming the file and why.
    void ReportOpenFailure();
    // One "Error" box when the address book refused deletions since the
    // folder's tally was cleared; true when it did.
    bool ReportRefusedDeletes();

    std::unique_ptr<CxWab> m_pCxWab;
    std::vector<WabRecord*> m_records;
};

// The main window, set when the application creates it.
extern TfmMain* fmMain;

// Fills out (at least 258 bytes) with the folder of the module's executable,
// with a trailing separator; 0 when out is null, else 1.
int GetModulePath(HMODULE hModule, char* out);

// The address of the product's home page, opened from the Help menu.
extern const char* const kProductWebPage;
