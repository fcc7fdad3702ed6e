#pragma once
// Small argument parser shared by the korvale-cli commands.

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace cli {

class Options {
  public:
    // valueOptions: options that take a value ("--tracks"); flagOptions: those that do not.
    // Options may repeat (Values() returns all); anything else is positional.
    Options(const std::vector<std::string>& args, const std::vector<std::string>& valueOptions,
            const std::vector<std::string>& flagOptions);

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    bool Has(const std::string& name) const;
    std::optional<std::string> Value(const std::string& name) const;
    std::vector<std::string> Values(const std::string& name) const;
    const std::vector<std::string>& Positional() const { return positional_; }

  private:
    std::multimap<std::string, std::string> values_;
    std::vector<std::string> positional_;
    std::string error_;
};

// Parses a whole decimal integer; nullopt on anything else.
std::optional<long long> ParseInteger(const std::string& text);

// Directory of the running executable (empty when it cannot be found).
std::string ExecutableDir();

// --tracks PATH, or tracks.dat beside the executable, else in ../share/korvale (installed).
std::string TracksPath(const Options& options);

}  // namespace cli
