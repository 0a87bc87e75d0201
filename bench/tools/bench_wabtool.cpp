// Importing a vCard file of 100,000 contacts into a new address book, as
// "wabtool import" does it: read, check, then one transaction. Listing an
// address book of 100,000 contacts with "wabtool list" against the sqlite3
// command-line tool printing the same columns, both as whole processes, in
// turns (the median ratio counts).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

#include "bench/BenchSupport.h"
#include "bench/Turns.h"
#include "tools/wabtool/Commands.h"

namespace {

constexpr int kContacts = 100000;

const std::string& Cards() {
    static const std::string file = [] {
        std::string path = (benchsupport::Folder() / "large.vcf").string();
        std::ofstream out(path, std::ios::binary);
        for (int i = 0; i < kContacts; ++i) {
            const std::string n = benchsupport::Name(i);
            out << "BEGIN:VCARD\r\nVERSION:3.0\r\n"
                << "FN:Contact " << n << "\r\n"
                << "N:Surname" << n << ";Given" << n << ";;;\r\n"
                << "EMAIL;TYPE=INTERNET,PREF:contact" << n << "@example.org\r\n"
                << "TEL;TYPE=WORK,VOICE:+1 555 " << n << "\r\n"
                << "ORG:Company " << i % 500 << "\r\n"
                << "ADR;TYPE=HOME:;;" << i << " Long Street\\nFlat " << i % 40 << ";City "
                << i % 100 << ";;" << 10000 + i % 9000 << ";Country\r\n"
                << "NOTE:A note that is long enough to be folded over two lines by the writer "
                   "of\r\n"
                << "  this file\\, as mail clients do.\r\n"
                << "END:VCARD\r\n";
        }
        return path;
    }();
    return file;
}

void BM_ImportVCardFile(benchmark::State& state) {
    const std::string book = (benchsupport::Folder() / "import.wab").string();
    std::FILE* sink = std::fopen("/dev/null", "w");
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(book);
        const std::string& cards = Cards();
        if (wabtool::Run({"create", book}, sink, sink) != 0) {
            state.SkipWithError("create failed");
            break;
        }
        state.ResumeTiming();
        if (wabtool::Run({"import", "--into", book, cards}, sink, sink) != 0) {
            state.SkipWithError("import failed");
            break;
        }
    }
    std::fclose(sink);
    state.counters["contacts"] = kContacts;
}

BENCHMARK(BM_ImportVCardFile)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// Runs a program with its output thrown away; its seconds, or -1 when it
// failed.
double RunProcess(const std::vector<std::string>& args) {
    return benchsupport::Seconds([&] {
        const pid_t child = fork();
        if (child == 0) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, 1);
            std::vector<char*> argv;
            for (const std::string& a : args) {
                argv.push_back(const_cast<char*>(a.c_str()));
            }
            argv.push_back(nullptr);
            execvp(argv[0], argv.data());
            _exit(127);
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::exit(1);
        }
    });
}

std::string BesideMe(const char* name) {
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / name).string();
}

constexpr int kTurns = 7;
benchsupport::Turns g_list;

void BM_ListAgainstSqliteTool(benchmark::State& state) {
    const std::string book = (benchsupport::Folder() / "list.wab").string();
    benchsupport::MakeBook(book, kContacts);
    if (RunProcess({"sqlite3", "-version"}) < 0) {
        state.SkipWithError("no sqlite3 command");
        return;
    }
    // Identifier, kind, display name and e-mail address of each contact in use.
    const std::string query =
        "SELECT e.id, e.object_type, e.display_name, p.value FROM entries e LEFT JOIN props p"
        " ON p.entry_id = e.id AND p.tag = " +
        std::to_string(PR_EMAIL_ADDRESS) + " WHERE e.deleted_on IS NULL ORDER BY e.id";
    const std::string wabtool = BesideMe("wabtool");
    for (auto _ : state) {
        g_list = benchsupport::InTurns(
            kTurns,
            [&] {
                return RunProcess({wabtool, "list", book});
            },
            [&] {
                return RunProcess({"sqlite3", "-readonly", "-separator", "\t", book, query});
            });
        benchsupport::Report(state, g_list);
    }
}

BENCHMARK(BM_ListAgainstSqliteTool)->Unit(benchmark::kMillisecond)->Iterations(1)->UseManualTime();

} // namespace

int main(int argc, char** argv) {
    if (!benchsupport::RunBenchmarks(argc, argv)) {
        return 1;
    }
    benchsupport::PrintTurns("Listing 100,000 contacts", "wabtool list", "sqlite3", g_list,
                             "goal: at most 3");
    return 0;
}
