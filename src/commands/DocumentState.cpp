#include "commands/DocumentState.h"

#include "platform/TextCase.h"

void TSourceReplay::Imported(const std::string& replayName) {
    if (kind_ == Kind::Empty) {
        SetOne(LowerCaseCopy(replayName));
    } else if (kind_ == Kind::One && !EqualIgnoringCase(name_, replayName)) {
        SetSeveral();
    }
}
