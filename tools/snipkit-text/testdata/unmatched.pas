  { a } b
