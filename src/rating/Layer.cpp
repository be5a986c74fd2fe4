// layer rating
