#include "rating/RatingLog.h"

Q_LOGGING_CATEGORY(lcRating, "welvane.rating")
