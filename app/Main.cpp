#include "app/Main.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <QDir>

#include "app/About.h"
#include "app/Option.h"
#include "app/SkinClasses.h"
#include "common/oe/CxWabFolder.h"
#include "common/oe/WabRecord.h"
#include "platform/toolkit/ListView.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Qt.h"
#include "skin/SKButton.h"
#include "skin/SKForm.h"
#include "skin/SKImagePanel.h"
#include "skin/SKListView.h"
#include "skin/SKMainMenu.h"
#include "skin/SKStatusBar.h"

TfmMain* fmMain = nullptr;

const char* const kProductWebPage = "https://quenby.example.org/wab/index.htm?ref=prod";

namespace {

constexpr char kSection[] = "Quenby";
constexpr char kSettingsFile[] = "brindle.ini";

// The settings file's path: beside the program while its folder can be
// written, as where it was built or unpacked; otherwise, as once installed for
// everyone, in the user's configuration folder, so the settings are kept.
// create: make that folder when it is missing (for writing). Empty when the
// program's folder is too long to name in a path buffer.
std::string SettingsPath(bool create = false) {
    char folder[260] = "";
    if (GetModulePath(nullptr, folder) == 0) {
        return {};
    }
    // A folder without any write bit is read-only even to root, as the
    // profile functions treat it.
    struct stat st {};
    if (::stat(folder, &st) == 0 && (st.st_mode & 0222) != 0 && ::access(folder, W_OK) == 0) {
        return std::string(folder) + kSettingsFile;
    }
    // Relative values are invalid by the desktop's rules and are ignored.
    const QByteArray xdg = qgetenv("XDG_CONFIG_HOME");
    const QString config = xdg.startsWith('/') ? QString::fromLocal8Bit(xdg)
                                               : QDir::homePath() + QStringLiteral("/.config");
    const QString dir = config + QStringLiteral("/quenby");
    if (create) {
        QDir().mkpath(dir);
    }
    return (dir + QLatin1Char('/')).toLocal8Bit().toStdString() + kSettingsFile;
}

QString FromAnsi(const char* text) {
    // Most columns of most contacts are empty: no text, no allocation.
    return text[0] == '\0' ? QString() : QString::fromUtf8(text);
}

// Records lie kilobytes apart: the fields a row shows are asked for ahead.
void Prefetch(const std::vector<WabRecord*>& records, std::size_t i) {
    if (i < records.size()) {
        const WabRecord* r = records[i];
        __builtin_prefetch(r->szDisplayName);
        __builtin_prefetch(r->szEmailAddress + 32);
        __builtin_prefetch(r->szCompany);
        __builtin_prefetch(r->szHomePhone);
        __builtin_prefetch(&r->nDupGroup);
    }
}

} // namespace

int GetModulePath(HMODULE hModule, char* out) {
    if (out == nullptr) {
        return 0;
    }
    char path[260] = "";
    const DWORD n = GetModuleFileNameA(hModule, path, sizeof path);
    const char* slash = std::strrchr(path, '/');
    // The folder (with its separator) must fit the caller's 258 bytes.
    if (n == 0 || n >= sizeof path || slash == nullptr || slash - path + 1 > 257) {
        out[0] = '\0';
        return 0;
    }
    const std::size_t len = static_cast<std::size_t>(slash - path + 1);
    std::memcpy(out, path, len);
    out[len] = '\0';
    return 1;
}

TfmMain::TfmMain(tk::TComponent* AOwner) : tk::TForm(AOwner), m_szWabName{} {
    RegisterSkinClasses();
    RegisterHandler("FormCreate", &TfmMain::FormCreate);
    RegisterHandler("FormDestroy", &TfmMain::FormDestroy);
    RegisterHandler("FormCanResize", &TfmMain::FormCanResize);
    RegisterHandler("spTopResize", &TfmMain::spTopResize);
    RegisterHandler("rbtnAllClick", &TfmMain::rbtnAllClick);
    RegisterHandler("rbtnDupClick", &TfmMain::rbtnDupClick);
    RegisterHandler("slvItemsSelectItem", &TfmMain::slvItemsSelectItem);
    RegisterHandler("slvItemsCustomDrawItem", &TfmMain::slvItemsCustomDrawItem);
    RegisterHandler("sbtnSelAllClick", &TfmMain::sbtnSelAllClick);
    RegisterHandler("sbtnClearClick", &TfmMain::sbtnClearClick);
    RegisterHandler("sbtnDelClick", &TfmMain::sbtnDelClick);
    RegisterHandler("btnDelAllClick", &TfmMain::btnDelAllClick);
    RegisterHandler("sbtnRefreshClick", &TfmMain::sbtnRefreshClick);
    RegisterHandler("sbtnHelpClick", &TfmMain::sbtnHelpClick);
    RegisterHandler("miHelpWebClick", &TfmMain::miHelpWebClick);
    RegisterHandler("miHelpAboutClick", &TfmMain::miHelpAboutClick);
    RegisterHandler("sbtnOptionClick", &TfmMain::sbtnOptionClick);
    RegisterHandler("sbtnExitClick", &TfmMain::sbtnExitClick);
    RegisterHandler("miFileExitClick", &TfmMain::miFileExitClick);
    LoadDescription(QStringLiteral(":/forms/Main.form"));

    mnMain = FindPart<sk::TskMainMenu>(this, "mnMain");
    sfmMain = FindPart<sk::TskForm>(this, "sfmMain");
    spTop = FindPart<sk::TskPanel>(this, "spTop");
    Label1 = FindPart<tk::TLabel>(this, "Label1");
    rbtnAll = FindPart<sk::TskRadioButton>(this, "rbtnAll");
    rbtnDup = FindPart<sk::TskRadioButton>(this, "rbtnDup");
    btnDelAll = FindPart<sk::TskButton>(this, "btnDelAll");
    sbtnRefresh = FindPart<sk::TskButton>(this, "sbtnRefresh");
    sbtnHelp = FindPart<sk::TskButton>(this, "sbtnHelp");
    sbtnExit = FindPart<sk::TskButton>(this, "sbtnExit");
    slvItems = FindPart<sk::TskListView>(this, "slvItems");
    Splitter1 = FindPart<tk::TSplitter>(this, "Splitter1");
    spBottom = FindPart<sk::TskPanel>(this, "spBottom");
    pButtons = FindPart<tk::TPanel>(this, "pButtons");
    sbtnSelAll = FindPart<sk::TskButton>(this, "sbtnSelAll");
    sbtnClear = FindPart<sk::TskButton>(this, "sbtnClear");
    sbtnDel = FindPart<sk::TskButton>(this, "sbtnDel");
    slvDups = FindPart<sk::TskListView>(this, "slvDups");
    sbMain = FindPart<sk::TskStatusBar>(this, "sbMain");
    spTopResize(spTop);

    // The settings block is zero until FormCreate loads it.
    std::memset(m_szWabName, 0, sizeof m_szWabName);
    m_bCheckMail = false;
    m_bCheckName = false;
    fmMain = this;
    DoCreate();
}

TfmMain::~TfmMain() {
    if (fmMain == this) {
        fmMain = nullptr;
    }
}

// ---- settings -------------------------------------------------------------------

void TfmMain::LoadSettings() {
    std::memset(m_szWabName, 0, sizeof m_szWabName);
    m_bCheckMail = false;
    m_bCheckName = false;
    const std::string path = SettingsPath();
    // A file that cannot be named is a missing one: the defaults.
    const char* file = path.empty() ? "" : path.c_str();
    GetPrivateProfileStringA(kSection, "WabName", "", m_szWabName, sizeof m_szWabName, file);
    m_bCheckMail = GetPrivateProfileIntA(kSection, "CheckMail", 1, file) != 0;
    m_bCheckName = GetPrivateProfileIntA(kSection, "CheckName", 0, file) != 0;
}

void TfmMain::SaveSettings() {
    const std::string path = SettingsPath(true);
    if (path.empty()) {
        return;
    }
    WritePrivateProfileStringA(kSection, "WabName", m_szWabName, path.c_str());
    WritePrivateProfileStringA(kSection, "CheckName", m_bCheckName ? "1" : "0", path.c_str());
    WritePrivateProfileStringA(kSection, "CheckMail", m_bCheckMail ? "1" : "0", path.c_str());
}

// ---- creation, destruction, size ---------------------------------------------------

void TfmMain::FormCreate(tk::TObject* /*Sender*/) {
    LoadSettings();
    m_pCxWab = std::make_unique<CxWab>(m_szWabName);
    RefreshRecords();
}

void TfmMain::FormDestroy(tk::TObject* /*Sender*/) {
    SaveSettings();
    // The lists' rows point at the session's records.
    ForgetRows();
    m_pCxWab.reset();
}

void TfmMain::FormCanResize(tk::TObject* /*Sender*/, int& NewWidth, int& NewHeight, bool& Resize) {
    Resize = NewWidth > 800 && NewHeight > 600;
}

void TfmMain::spTopResize(tk::TObject* /*Sender*/) {
    if (sbtnExit == nullptr) {
        return; // still loading: placed once the description is read
    }
    // Of any width beyond 794, a fifth goes to each gap right of and
    // between the four buttons (the division truncates toward zero).
    const int a = (spTop->Width() - 794) / 5;
    sbtnExit->SetLeft(spTop->Width() - 90 - a);
    sbtnHelp->SetLeft(sbtnExit->Left() - 90 - a);
    sbtnRefresh->SetLeft(sbtnHelp->Left() - 90 - a);
    btnDelAll->SetLeft(sbtnRefresh->Left() - 90 - a);
}

// ---- the lists ------------------------------------------------------------------------

void TfmMain::ForgetRows() {
    slvDups->Items()->Clear();
    slvItems->Items()->Clear();
}

void TfmMain::RefreshRecords() {
    rbtnAll->SetChecked(true);
    ForgetRows();
    const bool opened = m_pCxWab->Open(m_szWabName);
    FillRecordList();
    if (!opened) {
        ReportOpenFailure();
    }
}

void TfmMain::ReportOpenFailure() {
    const std::string why = CxWab::DescribeResult(m_pCxWab->GetLastOpenResult());
    std::string text = m_szWabName[0] == '\0'
                           ? std::string("Cannot open the default address book")
                           : "Cannot open the address book \"" + std::string(m_szWabName) + "\"";
    text += ": " + why + ".";
    MessageBoxA(HwndFromWidget(Handle()), text.c_str(), "Error", MB_OK | MB_ICONERROR);
}

void TfmMain::FillRecordList() {
    slvItems->Items()->Clear();
    const std::vector<WabRecord*>& records = Records();
    ::GroupDuplicates(records.data(), records.size(), Criteria());
    const bool all = rbtnAll->Checked();
    slvItems->Items()->BeginUpdate();
    for (std::size_t i = 0; i < records.size(); ++i) {
        Prefetch(records, i + 4);
        if (records[i]->nDupGroup != 0 || all) {
            AddRecordRow(records[i], slvItems);
        }
    }
    slvItems->Items()->EndUpdate();
    if (slvItems->Items()->Count() > 0) {
        slvItems->Items()->Item(0)->SetSelected(true);
    }
}

void TfmMain::FillDuplicateList(tk::TListItem* Row) {
    slvDups->Items()->Clear();
    if (Row == nullptr) {
        return;
    }
    const auto* s = static_cast<const WabRecord*>(Row->Data());
    const std::vector<WabRecord*>& records = Records();
    slvDups->Items()->BeginUpdate();
    for (std::size_t i = 0; i < records.size(); ++i) {
        Prefetch(records, i + 8);
        if (records[i] != s && IsDuplicate(records[i], s)) {
            AddRecordRow(records[i], slvDups);
        }
    }
    slvDups->Items()->EndUpdate();
}

void TfmMain::AddRecordRow(WabRecord* Record, tk::TListView* List) {
    if (Record == nullptr || List == nullptr) {
        return;
    }
    tk::TListItem* row = List->Items()->Add();
    row->SetCaption(FromAnsi(Record->szDisplayName));
    QStringList columns;
    columns.reserve(5);
    for (const char* text : {Record->szEmailAddress, Record->szCompany, Record->szTitle,
                             Record->szHomePhone, Record->szBusinessPhone}) {
        columns.append(FromAnsi(text));
    }
    row->SetSubItems(std::move(columns));
    row->SetData(Record);
}

void TfmMain::slvItemsSelectItem(tk::TObject* /*Sender*/, tk::TListItem* /*Item*/, bool Selected) {
    if (Selected) {
        FillDuplicateList(slvItems->Selected());
    }
    const bool any = slvDups->Items()->Count() > 0;
    sbtnSelAll->SetEnabled(any);
    sbtnClear->SetEnabled(any);
    sbtnDel->SetEnabled(any);
}

void TfmMain::slvItemsCustomDrawItem(tk::TObject* /*Sender*/, tk::TListItem* Item,
                                     tk::TCustomDrawState /*State*/, bool& /*DefaultDraw*/) {
    const auto* r = static_cast<const WabRecord*>(Item->Data());
    if (r != nullptr) {
        slvItems->Canvas()->Font()->SetColor(r->nDupGroup != 0 ? tk::clBlue : tk::clBlack);
    }
}

void TfmMain::sbtnSelAllClick(tk::TObject* /*Sender*/) {
    const int n = slvDups->Items()->Count();
    for (int i = 0; i < n; ++i) {
        slvDups->Items()->Item(i)->SetChecked(true);
    }
}

void TfmMain::sbtnClearClick(tk::TObject* /*Sender*/) {
    const int n = slvDups->Items()->Count();
    for (int i = 0; i < n; ++i) {
        slvDups->Items()->Item(i)->SetChecked(false);
    }
}

void TfmMain::rbtnAllClick(tk::TObject* /*Sender*/) {
    FillRecordList();
}

void TfmMain::rbtnDupClick(tk::TObject* /*Sender*/) {
    FillRecordList();
}

void TfmMain::sbtnRefreshClick(tk::TObject* /*Sender*/) {
    RefreshRecords();
}

// ---- grouping -------------------------------------------------------------------------

bool TfmMain::IsDuplicate(const WabRecord* a, const WabRecord* b) const {
    return ::IsDuplicate(a, b, Criteria());
}

void TfmMain::GroupDuplicates() {
    const std::vector<WabRecord*>& records = Records();
    ::GroupDuplicates(records.data(), records.size(), Criteria());
}

const std::vector<WabRecord*>& TfmMain::Records() {
    // One buffer kept for the window's life: a fresh one for every fill would
    // cost more than the walk, right after a list freed its rows.
    m_records.clear();
    if (CxWabFolder* folder = m_pCxWab->GetRootFolder()) {
        m_records.reserve(folder->GetRecordList()->GetCount());
    }
    for (WabRecord* r = m_pCxWab->GetFirstRecord(); r != nullptr; r = m_pCxWab->GetNextRecord()) {
        m_records.push_back(r);
    }
    return m_records;
}

// ---- deleting -------------------------------------------------------------------------

void TfmMain::sbtnDelClick(tk::TObject* /*Sender*/) {
    const int n = slvDups->Items()->Count();
    int checked = 0;
    for (int i = 0; i < n; ++i) {
        checked += slvDups->Items()->Item(i)->Checked() ? 1 : 0;
    }
    if (checked == 0) {
        MessageBoxA(HwndFromWidget(Handle()),
                    "Please select one or more records you want to delete.", "Information",
                    MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (MessageBoxA(HwndFromWidget(Handle()), "Are you sure to delete the records?", "Information",
                    MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return;
    }
    CxWabFolder* folder = m_pCxWab->GetRootFolder();
    if (folder == nullptr) {
        return;
    }
    folder->ClearRefusals();
    // The rows to go, taken before any record is freed.
    std::vector<WabRecord*> doomed;
    for (int i = 0; i < n; ++i) {
        tk::TListItem* row = slvDups->Items()->Item(i);
        if (row->Checked()) {
            doomed.push_back(static_cast<WabRecord*>(row->Data()));
        }
    }
    // Rows of freed records must not be drawn until the list is rebuilt.
    slvDups->Items()->Clear();
    for (WabRecord* r : doomed) {
        for (int j = 0; j < slvItems->Items()->Count(); ++j) {
            if (slvItems->Items()->Item(j)->Data() == r) {
                slvItems->Items()->Delete(j);
                break;
            }
        }
        folder->DeleteRecord(r, true);
    }
    FillDuplicateList(slvItems->Selected());
    if (slvDups->Items()->Count() == 0) {
        if (tk::TListItem* selected = slvItems->Selected()) {
            static_cast<WabRecord*>(selected->Data())->nDupGroup = 0;
        }
    }
    if (ReportRefusedDeletes()) {
        RefreshRecords();
    }
}

void TfmMain::btnDelAllClick(tk::TObject* /*Sender*/) {
    if (MessageBoxA(HwndFromWidget(Handle()),
                    "Are you sure to delete all of the duplicate records?", "Confirmation",
                    MB_YESNOCANCEL | MB_ICONQUESTION) != IDYES) {
        return;
    }
    if (CxWabFolder* folder = m_pCxWab->GetRootFolder()) {
        folder->ClearRefusals();
    }
    // The contact list's rows would point at freed records until the refresh.
    ForgetRows();
    DeleteAllDuplicates();
    ReportRefusedDeletes();
    RefreshRecords();
}

void TfmMain::DeleteAllDuplicates() {
    GroupDuplicates();
    CxWabFolder* folder = m_pCxWab->GetRootFolder();
    if (folder == nullptr) {
        return;
    }
    std::vector<WabRecord*> list = Records();
    // Of each group the member that comes first stays: the later members are
    // deleted as their first member is reached, so each record is looked at
    // once (the plain way scans the rest of the list for every member).
    std::vector<std::int32_t> firstSeen;
    for (WabRecord*& p : list) {
        if (p == nullptr || p->nDupGroup == 0) {
            continue;
        }
        const auto group = static_cast<std::size_t>(p->nDupGroup);
        if (firstSeen.size() <= group) {
            firstSeen.resize(group + 1, 0);
        }
        if (firstSeen[group] == 0) {
            firstSeen[group] = 1;
            continue;
        }
        folder->DeleteRecord(p, true);
        p = nullptr;
    }
    for (WabRecord* p : list) {
        if (p != nullptr) {
            p->nDupGroup = 0;
        }
    }
}

bool TfmMain::ReportRefusedDeletes() {
    CxWabFolder* folder = m_pCxWab->GetRootFolder();
    if (folder == nullptr || folder->GetRefusedCount() == 0) {
        return false;
    }
    const unsigned n = folder->GetRefusedCount();
    const std::string text =
        std::to_string(n) + (n == 1 ? " contact" : " contacts") +
        " could not be deleted: " + CxWab::DescribeResult(folder->GetLastRefusal()) +
        ". The address book is listed again as it is.";
    folder->ClearRefusals();
    MessageBoxA(HwndFromWidget(Handle()), text.c_str(), "Error", MB_OK | MB_ICONERROR);
    return true;
}

// ---- help, web page, about, options, exit ---------------------------------------------

void TfmMain::sbtnHelpClick(tk::TObject* /*Sender*/) {
    ShellExecuteA(HwndFromWidget(Handle()), "open", "quenby.chm", "", "", SW_SHOW);
}

void TfmMain::miHelpWebClick(tk::TObject* /*Sender*/) {
    ShellExecuteA(HwndFromWidget(Handle()), "open", kProductWebPage, "", "", SW_SHOW);
}

void TfmMain::miHelpAboutClick(tk::TObject* /*Sender*/) {
    tk::TComponentPtr<TfmAbout> about(new TfmAbout(this));
    about->ShowModal();
}

void TfmMain::sbtnOptionClick(tk::TObject* /*Sender*/) {
    // Owned by the main window; freed with it at the latest.
    fmOption = new TfmOption(this);
    if (fmOption->ShowModal() != tk::mrOk) {
        return;
    }
    if (fmOption->m_bChanged) {
        RefreshRecords();
    }
    if (tk::TListItem* selected = slvItems->Selected()) {
        FillDuplicateList(selected);
    }
}

void TfmMain::sbtnExitClick(tk::TObject* /*Sender*/) {
    Close();
}

void TfmMain::miFileExitClick(tk::TObject* /*Sender*/) {
    Close();
}
