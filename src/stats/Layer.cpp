// layer stats
