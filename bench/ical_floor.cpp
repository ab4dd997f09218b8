// The floor of reading a task list: every .ics file of a folder parsed with libical alone, each
// task's summary and dates read. Prints the milliseconds, the best of five.
#include <libical/ical.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    std::vector<std::string> texts;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1])) {
        if (entry.path().extension() != ".ics")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        texts.push_back(text.str());
    }
    double best = 1e18;
    for (int round = 0; round < 5; ++round) {
        const auto start = std::chrono::steady_clock::now();
        size_t read = 0;
        for (const std::string& text : texts) {
            icalcomponent* calendar = icalparser_parse_string(text.c_str());
            icalcomponent* todo = icalcomponent_get_first_component(calendar, ICAL_VTODO_COMPONENT);
            if (todo && icalcomponent_get_summary(todo) &&
                !icaltime_is_null_time(icalcomponent_get_dtstart(todo)))
                ++read;
            icalcomponent_free(calendar);
        }
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        best = std::min(best, ms);
        if (read != texts.size()) {
            std::fprintf(stderr, "%zu of %zu tasks read\n", read, texts.size());
            return 1;
        }
    }
    std::printf("%.1f\n", best);
    return 0;
}
