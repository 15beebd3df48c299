[playlist]
NumberOfEntries=3
File3=http://third.example/
Title1=First (128k)
File1=http://first.example:8000/stream
Length1=-1
file2 = relative/two.mp3 
Version=2
