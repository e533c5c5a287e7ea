# (filled by the results viewer)
