#pragma once
// The help file: a UTF-8 text file of numbered topics.
//
//   Lines before the first topic and lines starting with "##" are comments.
//   "@topic <number> <title>" starts a topic; the lines up to the next "@topic" are its
//   text, blank lines separating paragraphs. Topic 0 is the contents.
//
// Numbers are the context numbers the program opens: command ids for context help,
// dialog help buttons, 4143 on the first run.

#include <map>
#include <string>
#include <vector>

struct HelpTopic {
    std::string title;
    std::string text;
};

class HelpFile {
  public:
    static constexpr int kContents = 0;
    static constexpr int kHelpOnHelp = 2002;

    // False when the file cannot be read; a read file with no topics is empty.
    bool Load(const std::string& path);
    void Parse(const std::string& content);

    const HelpTopic* Find(int number) const;
    const std::map<int, HelpTopic>& topics() const { return topics_; }
    // Topic numbers in the order the file gives them, which is the order of the contents.
    const std::vector<int>& order() const { return order_; }

  private:
    std::map<int, HelpTopic> topics_;
    std::vector<int> order_;
};
