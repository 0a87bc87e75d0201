// Message boxes, the open-file dialog and the shell, with their test hooks.
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Qt.h"
#include "platform/win32/Win32Testing.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <deque>
#include <optional>

namespace {

enum class HookMode { Automatic, On, Off };

struct HookState {
    HookMode mode = HookMode::Automatic;
    std::deque<int> boxAnswers;
    std::vector<win32test::MessageBoxCall> boxCalls;
    std::deque<std::intptr_t> shellAnswers;
    std::vector<win32test::ShellExecuteCall> shellCalls;
    std::deque<std::optional<std::string>> fileAnswers; // nullopt: cancel
    std::vector<win32test::OpenFileNameCall> fileCalls;
};

HookState& Hooks() {
    static HookState state;
    return state;
}

void Activate() {
    Hooks().mode = HookMode::On;
}

void ReportUnscripted(const char* function, const std::string& detail) {
    std::fprintf(stderr, "win32test: %s called with no scripted answer: %s\n", function,
                 detail.c_str());
    std::fflush(stderr);
}

std::string Str(LPCSTR s) {
    return s != nullptr ? s : "";
}

QString FromLocal(const std::string& s) {
    return QString::fromLocal8Bit(s.data(), static_cast<qsizetype>(s.size()));
}

// The owner as a widget, or null when the handle names no live widget: a
// stale handle must not become a dialog's parent.
QWidget* LiveWidget(HWND hwnd) {
    QWidget* widget = WidgetFromHwnd(hwnd);
    if (widget == nullptr || !QApplication::allWidgets().contains(widget)) {
        return nullptr;
    }
    return widget;
}

bool HaveWidgets() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

// ---- Message boxes --------------------------------------------------------

int EscapeAnswer(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
    case MB_YESNOCANCEL:
        return IDCANCEL;
    case MB_YESNO:
        return IDNO;
    default:
        return IDOK;
    }
}

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
    QMessageBox box(LiveWidget(owner));
    box.setWindowTitle(FromLocal(caption));
    // Contact names may hold '<' or '&'; they are text, never markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(FromLocal(text));
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONEXCLAMATION:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONASTERISK:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    // The first button is the default one, as on Windows.
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case MB_YESNO:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        break;
    case MB_YESNOCANCEL:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        break;
    }
    box.exec();
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Ok:
        return IDOK;
    case QMessageBox::Cancel:
        return IDCANCEL;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    default:
        return EscapeAnswer(type);
    }
}

// ---- Open-file dialog -----------------------------------------------------

std::vector<std::pair<std::string, std::string>> ParseFilter(LPCSTR filter) {
    std::vector<std::pair<std::string, std::string>> pairs;
    if (filter == nullptr) {
        return pairs;
    }
    while (*filter != '\0') {
        std::string description = filter;
        filter += description.size() + 1;
        std::string pattern = filter;
        if (pattern.empty()) {
            break; // malformed: stop at the NUL rather than read past it
        }
        filter += pattern.size() + 1;
        pairs.emplace_back(std::move(description), std::move(pattern));
    }
    return pairs;
}

QString QtFilter(const std::pair<std::string, std::string>& entry) {
    QStringList patterns;
    for (const QString& p : FromLocal(entry.second).split(';', Qt::SkipEmptyParts)) {
        QString t = p.trimmed();
        patterns << (t == QLatin1String("*.*") ? QStringLiteral("*") : t);
    }
    return FromLocal(entry.first) + " (" + patterns.join(' ') + ")";
}

std::optional<std::string> RunFileDialog(const OPENFILENAMEA& ofn, const std::string& initial) {
    std::string title = Str(ofn.lpstrTitle);
    QFileDialog dialog(LiveWidget(ofn.hwndOwner),
                       title.empty() ? QStringLiteral("Open") : FromLocal(title));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode((ofn.Flags & OFN_FILEMUSTEXIST) != 0 ? QFileDialog::ExistingFile
                                                            : QFileDialog::AnyFile);
    // The user sees the description alone, as the original dialog shows it.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    QStringList filters;
    for (const auto& entry : ParseFilter(ofn.lpstrFilter)) {
        filters << QtFilter(entry);
    }
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        if (ofn.nFilterIndex >= 1 && ofn.nFilterIndex <= static_cast<DWORD>(filters.size())) {
            dialog.selectNameFilter(filters.at(static_cast<qsizetype>(ofn.nFilterIndex - 1)));
        }
    }
    if (ofn.lpstrInitialDir != nullptr && *ofn.lpstrInitialDir != '\0') {
        dialog.setDirectory(QFile::decodeName(ofn.lpstrInitialDir));
    }
    if (!initial.empty()) {
        dialog.selectFile(QFile::decodeName(initial.c_str()));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
}

BOOL DeliverFileName(OPENFILENAMEA& ofn, const std::string& path) {
    if (path.empty() || path.size() + 1 > ofn.nMaxFile) {
        return FALSE;
    }
    std::memcpy(ofn.lpstrFile, path.c_str(), path.size() + 1);
    std::size_t slash = path.rfind('/');
    std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::size_t dot = path.rfind('.');
    ofn.nFileOffset = static_cast<WORD>(nameStart);
    // Without an extension the offset points at the terminating NUL.
    ofn.nFileExtension =
        static_cast<WORD>(dot != std::string::npos && dot >= nameStart ? dot + 1 : path.size());
    if (ofn.lpstrFileTitle != nullptr && ofn.nMaxFileTitle > 0) {
        std::string name = path.substr(nameStart);
        std::size_t n = std::min<std::size_t>(name.size(), ofn.nMaxFileTitle - 1);
        std::memcpy(ofn.lpstrFileTitle, name.data(), n);
        ofn.lpstrFileTitle[n] = '\0';
    }
    return TRUE;
}

// ---- Shell ----------------------------------------------------------------

HINSTANCE ShellResult(std::intptr_t code) {
    return reinterpret_cast<HINSTANCE>(code);
}

// "scheme:" with a scheme of two characters or more (so "C:" is no scheme).
bool IsAddress(const std::string& s) {
    std::size_t colon = s.find(':');
    if (colon == std::string::npos || colon < 2 ||
        !std::isalpha(static_cast<unsigned char>(s[0]))) {
        return false;
    }
    for (std::size_t i = 1; i < colon; ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') {
            return false;
        }
    }
    return true;
}

std::intptr_t OpenDocument(const std::string& verb, const std::string& file,
                           const std::string& directory) {
    if (!verb.empty() &&
        QString::fromLatin1(verb.c_str()).compare(QLatin1String("open"), Qt::CaseInsensitive) !=
            0) {
        return SE_ERR_NOASSOC;
    }
    if (file.empty()) {
        return SE_ERR_FNF;
    }
    std::string target = file;
    QString workingDir;
    if (!directory.empty()) {
        struct stat st {};
        if (::stat(directory.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
            return SE_ERR_PNF;
        }
        workingDir = QFile::decodeName(directory.c_str());
    }
    if (!IsAddress(file)) {
        // Absolute before it reaches the opener, so that a name starting
        // with '-' can never be taken for an option.
        if (file.front() != '/') {
            std::string base = directory.empty()
                                   ? QFile::encodeName(QDir::currentPath()).toStdString()
                                   : directory;
            target = base + "/" + file;
        }
        struct stat st {};
        if (::stat(target.c_str(), &st) != 0) {
            if (errno == EACCES) {
                return SE_ERR_ACCESSDENIED;
            }
            std::string parent = target.substr(0, target.rfind('/') + 1);
            return ::access(parent.c_str(), F_OK) == 0 ? SE_ERR_FNF : SE_ERR_PNF;
        }
    }
    // The opener gets its argument as one vector element; no shell sees it.
    if (!QProcess::startDetached(QStringLiteral("xdg-open"), {QFile::decodeName(target.c_str())},
                                 workingDir)) {
        return SE_ERR_NOASSOC;
    }
    return 42;
}

} // namespace

namespace win32test {

void ScriptMessageBox(int answer) {
    Activate();
    Hooks().boxAnswers.push_back(answer);
}

const std::vector<MessageBoxCall>& MessageBoxCalls() {
    return Hooks().boxCalls;
}

void ScriptShellExecute(std::intptr_t result) {
    Activate();
    Hooks().shellAnswers.push_back(result);
}

const std::vector<ShellExecuteCall>& ShellExecuteCalls() {
    return Hooks().shellCalls;
}

void ScriptOpenFileName(const std::string& path) {
    Activate();
    Hooks().fileAnswers.emplace_back(path);
}

void ScriptOpenFileNameCancel() {
    Activate();
    Hooks().fileAnswers.emplace_back(std::nullopt);
}

const std::vector<OpenFileNameCall>& OpenFileNameCalls() {
    return Hooks().fileCalls;
}

void ResetHooks() {
    Hooks() = HookState{};
    Activate();
}

void SetHooksActive(bool active) {
    Hooks().mode = active ? HookMode::On : HookMode::Off;
}

bool HooksActive() {
    switch (Hooks().mode) {
    case HookMode::On:
        return true;
    case HookMode::Off:
        return false;
    case HookMode::Automatic:
        break;
    }
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        return false;
    }
    QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

std::size_t UnusedAnswers() {
    const HookState& h = Hooks();
    return h.boxAnswers.size() + h.shellAnswers.size() + h.fileAnswers.size();
}

} // namespace win32test

int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    std::string text = Str(lpText);
    std::string caption = lpCaption != nullptr ? lpCaption : "Error";
    if (win32test::HooksActive()) {
        HookState& h = Hooks();
        bool scripted = !h.boxAnswers.empty();
        h.boxCalls.push_back({hWnd, text, caption, uType, scripted});
        if (!scripted) {
            ReportUnscripted("MessageBoxA", "\"" + caption + "\": " + text);
            return EscapeAnswer(uType);
        }
        int answer = h.boxAnswers.front();
        h.boxAnswers.pop_front();
        return answer;
    }
    if (!HaveWidgets()) {
        // Nobody can see the question, so nothing is confirmed.
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        std::fflush(stderr);
        return EscapeAnswer(uType);
    }
    return ShowMessageBox(hWnd, text, caption, uType);
}

HINSTANCE ShellExecuteA(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters,
                        LPCSTR lpDirectory, INT nShowCmd) {
    std::string verb = Str(lpOperation);
    std::string file = Str(lpFile);
    std::string directory = Str(lpDirectory);
    if (win32test::HooksActive()) {
        HookState& h = Hooks();
        bool scripted = !h.shellAnswers.empty();
        h.shellCalls.push_back(
            {hwnd, verb, file, Str(lpParameters), directory, nShowCmd, scripted});
        if (!scripted) {
            ReportUnscripted("ShellExecuteA", verb + " " + file);
            return ShellResult(SE_ERR_NOASSOC);
        }
        std::intptr_t result = h.shellAnswers.front();
        h.shellAnswers.pop_front();
        return ShellResult(result);
    }
    // Parameters only matter for programs; documents and addresses take none.
    return ShellResult(OpenDocument(verb, file, directory));
}

BOOL GetOpenFileNameA(LPOPENFILENAMEA lpofn) {
    // The size is a version tag: the full layout, the one before the three
    // fields added later, or the 32-bit Windows sizes callers may spell out.
    constexpr DWORD kSizes[] = {sizeof(OPENFILENAMEA), offsetof(OPENFILENAMEA, pvReserved), 88, 76};
    if (lpofn == nullptr ||
        std::find(std::begin(kSizes), std::end(kSizes), lpofn->lStructSize) == std::end(kSizes)) {
        return FALSE;
    }
    if (lpofn->lpstrFile == nullptr || lpofn->nMaxFile == 0) {
        return FALSE;
    }
    std::string initial(lpofn->lpstrFile, strnlen(lpofn->lpstrFile, lpofn->nMaxFile));
    std::optional<std::string> chosen;
    if (win32test::HooksActive()) {
        HookState& h = Hooks();
        bool scripted = !h.fileAnswers.empty();
        h.fileCalls.push_back({lpofn->hwndOwner, Str(lpofn->lpstrTitle),
                               ParseFilter(lpofn->lpstrFilter), initial, lpofn->Flags,
                               lpofn->nMaxFile, scripted});
        if (!scripted) {
            ReportUnscripted("GetOpenFileNameA", Str(lpofn->lpstrTitle));
            return FALSE;
        }
        chosen = h.fileAnswers.front();
        h.fileAnswers.pop_front();
    } else if (HaveWidgets()) {
        chosen = RunFileDialog(*lpofn, initial);
    }
    return chosen ? DeliverFileName(*lpofn, *chosen) : FALSE;
}
