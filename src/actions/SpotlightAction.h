#pragma once

#include "actions/WordAction.h"

namespace glimra {

/// "spotlight": shows the desktop search's results for ACT_WORDS.
class SpotlightAction : public WordAction
{
public:
    explicit SpotlightAction(std::shared_ptr<FileManager> fileManager);
    void execute(const Context &executionContext, const Completion &done) override;

protected:
    std::shared_ptr<WordAction> makeOffer() const override;
};

} // namespace glimra
