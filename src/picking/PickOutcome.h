#pragma once

#include "picking/PickResult.h"

#include <QMetaType>
#include <QString>

// How a pick ended. Only Picked carries a result; every other kind says in
// `message` why there is none (for CouldNotLoad: which network or HTTP error).
struct PickOutcome
{
    enum class Kind {
        Picked,
        NotProduct,
        NeedsVerification,  // a slider or log-in page the user can pass
        CouldNotLoad,
        NavigatedAway,      // the page went elsewhere while it was picked
        Cancelled,          // stopped, or its page was closed
    };

    Kind kind = Kind::Cancelled;
    PickResult result;
    QString message;
    bool stoppedAtDeadline = false;  // Picked: the page had not ended or loaded in time

    bool picked() const { return kind == Kind::Picked; }
};

Q_DECLARE_METATYPE(PickOutcome)
