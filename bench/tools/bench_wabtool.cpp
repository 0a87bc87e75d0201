// Importing a vCard file of 100,000 contacts into a new address book, as
// "wabtool import" does it: read, check, then one transaction.
#include <benchmark/benchmark.h>
#include <fstream>

#include "bench/BenchSupport.h"
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

} // namespace

BENCHMARK_MAIN();
