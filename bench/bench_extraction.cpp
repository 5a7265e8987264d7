// One company's extraction (a ~100 KB contact page and a ~50 KB mobile page through all their patterns),
// with compiled patterns kept and JIT-matched against compiling every pattern for every call.
#include "engine/Patterns.h"
#include "engine/Profile.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iostream>
#include <string>

using namespace kavo;

namespace {

// Page furniture of the kind the marketplace surrounds its contact block with.
std::string filler(size_t bytes, int seed) {
    std::string html;
    for (int i = 0; html.size() < bytes; ++i) {
        html += "<div class=\"mod-" + std::to_string(seed + i) + "\"><ul class=\"nav\"><li><a href=\"/page/" +
                std::to_string(i) + ".htm\" title=\"产品分类\">五金工具 配件 " + std::to_string(i) +
                "</a></li><li><span class=\"price\">￥" + std::to_string(i * 7 % 1000) +
                ".00</span></li></ul><p>本公司专业生产各类五金工具，质量可靠，价格合理，欢迎来电咨询。</p></"
                "div>\n";
    }
    return html;
}

const std::string& contactPage() {
    static const std::string page =
        "<html><head><title>联系方式</title></head><body>" + filler(95000, 0) +
        "<div class=\"contact-info\"><div class=\"contact-name\"><a href=\"/m\" target=\"_blank\">王小明</a>"
        "（销售经理）</div><dl><dt>电话：</dt><dd class=\"number\"> 0571-88886666 </dd></dl>"
        "<dl><dt>移动电话：</dt><dd class=\"number\">13900001111</dd></dl><dl><dt>传真：</dt><dd> "
        "0571-66668888 "
        "</dd></dl><dl><dt>地址：</dt><dd> 浙江省杭州市测试路1号 "
        "</dd></dl><dl><dt>邮编：</dt><dd>310000</dd></dl>"
        "</div>" +
        filler(5000, 900) + "</body></html>";
    return page;
}

const std::string& mobilePage() {
    static const std::string page = [] {
        std::string html = "<html><body>" + filler(45000, 2000) + "<ul class=\"info\">";
        for (const char* label : {"类型", "产品", "范围", "资本", "人数", "日期", "代表"})
            html += std::string("<li><label>") + label + " :</label><span> 值" + label + " </span></li>";
        return html + "</ul>" + filler(5000, 3000) + "</body></html>";
    }();
    return page;
}

TTaskDeail extractOne() {
    TTaskDeail entry;
    ReadContactNameLayout(contactPage(), entry);
    ReadMobileFields(mobilePage(), entry);
    return entry;
}

std::string fingerprint(const TTaskDeail& e) {
    return e.lxr + "|" + e.job + "|" + e.tel + "|" + e.tel2 + "|" + e.tel3 + "|" + e.addr + "|" + e.yp + "|" +
           e.qytype + "|" + e.zycp + "|" + e.zyhy + "|" + e.zczy + "|" + e.ygnum + "|" + e.createtime + "|" +
           e.frdb;
}

void extraction(benchmark::State& state, bool keep) {
    SetPatternCacheEnabled(keep);
    for (auto _ : state)
        benchmark::DoNotOptimize(extractOne());
    state.SetLabel(keep ? "kept + JIT" : "compiled per call");
    SetPatternCacheEnabled(true);
}

void BM_ExtractKeptJit(benchmark::State& state) {
    extraction(state, true);
}
void BM_ExtractCompiledPerCall(benchmark::State& state) {
    extraction(state, false);
}
BENCHMARK(BM_ExtractKeptJit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ExtractCompiledPerCall)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    // Both ways must read the same values before their speed means anything.
    SetPatternCacheEnabled(false);
    const std::string fresh = fingerprint(extractOne());
    SetPatternCacheEnabled(true);
    const std::string kept = fingerprint(extractOne());
    if (fresh != kept || extractOne().tel != "0571-88886666" || extractOne().frdb != "值代表") {
        std::cerr << "results differ:\n" << fresh << "\n" << kept << "\n";
        return 1;
    }
    std::cerr << "contact page " << contactPage().size() << " bytes, mobile page " << mobilePage().size()
              << " bytes; results agree\n";
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
